#pragma once

#include <QString>

/// Texts of the IQ chart window.
namespace ChartWindowTexts {

inline const QString title = QStringLiteral("نمودار هوشبهر");
inline const QString print = QStringLiteral("پرينت");
inline const QString savePdf = QStringLiteral("ذخيره PDF");
inline const QString savePng = QStringLiteral("ذخيره تصوير");
inline const QString close = QStringLiteral("بستن");
inline const QString pdfFilter = QStringLiteral("PDF (*.pdf)");
inline const QString pngFilter = QStringLiteral("PNG (*.png)");
inline const QString pdfName = QStringLiteral("نمودار هوشبهر.pdf");
inline const QString pngName = QStringLiteral("نمودار هوشبهر.png");
inline const QString saveFailed = QStringLiteral("فایل ذخیره نشد");
inline const QString saved = QStringLiteral("فایل ذخیره شد");
inline const QString replace = QStringLiteral("اين فايل وجود دارد. آيا جايگزين شود؟");
inline const QString printFailed = QStringLiteral("چاپ انجام نشد");

} // namespace ChartWindowTexts
