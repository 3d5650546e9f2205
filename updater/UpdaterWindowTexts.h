#pragma once

#include <QString>

// Texts of the updater window, in one place.
namespace UpdaterWindowTexts {

inline const QString Title = QStringLiteral("Downloading File ... ");
inline const QString Product = QStringLiteral("Pelorin");
inline const QString Download = QStringLiteral("دانلود");
inline const QString CancelDownload = QStringLiteral("انصراف");
inline const QString Exit = QStringLiteral("خروج");
inline const QString AddressLabel = QStringLiteral("Address File :");
inline const QString ErrorTitle = QStringLiteral("Error");
inline const QString SuccessTitle = QStringLiteral("Success");
inline const QString SuccessText = QStringLiteral("دانلود فايل با موفقيت به پايان رسيد ");
inline const QString SetupStartFailed = QStringLiteral("The setup program could not be started:\r\r");
inline const QString SetupPath = QStringLiteral("/Soft/pelorin/setup-Pelorin.exe");
inline const QString SetupFile = QStringLiteral("setup-Pelorin.exe");
inline const QString EmailPrefix = QStringLiteral("info@");

} // namespace UpdaterWindowTexts
