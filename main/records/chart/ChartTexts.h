#pragma once

#include <QString>

/// Texts of the IQ chart window and of the page it prints.
namespace ChartTexts {

inline const QString title = QStringLiteral("نمودار هوشبهر");
inline const QString pageTitle = QStringLiteral("توزیع هوشبهر آزمودنی‌ها");
inline const QString allRows = QStringLiteral("همه آزمودنی‌های فهرست");
inline const QString byLastName = QStringLiteral("آزمودنی‌های با نام خانوادگی «%1»");
inline const QString byFirstName = QStringLiteral("آزمودنی‌های با نام «%1»");
inline const QString byGroup = QStringLiteral("آزمودنی‌های گروه %1");
inline const QString leftOut = QStringLiteral("%1 ردیف بدون هوشبهر معتبر در نمودار نیامده است.");
inline const QString noneLeftOut = QStringLiteral("همه ردیف‌ها هوشبهر معتبر دارند.");
inline const QString date = QStringLiteral("تاریخ: %1");
inline const QString separator = QStringLiteral("  ·  ");

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

} // namespace ChartTexts
