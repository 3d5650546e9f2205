#pragma once

#include <QString>

// Texts of the update window, in one place.
namespace UpdateWindowTexts {

inline const QString CheckButton = QStringLiteral("بررسي آپديت جديد");
inline const QString ExitButton = QStringLiteral("خروج");
inline const QString Hint = QStringLiteral(
    "جهت به روز رساني نرم افزار ابتدا اتصال به اينترنت را چک کرده و سپس روي دکمه بررسي آپديت جديد کليک کنيد");
inline const QString PleaseWait = QStringLiteral("Please wait...");
inline const QString UpToDate
    = QStringLiteral("شما آخرين ورژن نرم افزار را داريد و يا اينکه ارتباط شما با اينترنت برقرار نمي باشد ");
// The updater is missing or would not start: the program stays.
inline const QString UpdaterNotStarted = QStringLiteral("برنامه به روز رساني اجرا نشد:\n");
inline const QString VersionFilePath = QStringLiteral("/Soft/pelorin/LastVersion.txt");

} // namespace UpdateWindowTexts
