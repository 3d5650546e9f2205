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
// The Persian boxes of the checks the download and the signature add.
inline const QString EmptyDownload = QStringLiteral("فايل دريافتي خالي است و چيزي دانلود نشد");
inline const QString NotVerified = QStringLiteral("فايل دانلود شده قابل تاييد نبود و پاك شد؛ برنامه نصب اجرا نمي شود");
inline const QString SetupStartFailed = QStringLiteral("The setup program could not be started:\r\r");
inline const QString SetupPath = QStringLiteral("/Soft/pelorin/setup-Pelorin.exe");
inline const QString SetupFile = QStringLiteral("setup-Pelorin.exe");
inline const QString SignatureSuffix = QStringLiteral(".sig");
inline const QString PartSuffix = QStringLiteral(".part");
inline const QString EmailPrefix = QStringLiteral("info@");

} // namespace UpdaterWindowTexts
