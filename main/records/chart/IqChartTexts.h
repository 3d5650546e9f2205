#pragma once

#include <QString>

/// Texts of the IQ chart's page.
namespace IqChartTexts {

inline const QString pageTitle = QStringLiteral("توزیع هوشبهر آزمودنی‌ها");
inline const QString allRows = QStringLiteral("همه آزمودنی‌های فهرست");
inline const QString byLastName = QStringLiteral("آزمودنی‌های با نام خانوادگی «%1»");
inline const QString byFirstName = QStringLiteral("آزمودنی‌های با نام «%1»");
inline const QString byGroup = QStringLiteral("آزمودنی‌های گروه %1");
inline const QString leftOut = QStringLiteral("%1 ردیف بدون هوشبهر معتبر در نمودار نیامده است.");
inline const QString noneLeftOut = QStringLiteral("همه ردیف‌ها هوشبهر معتبر دارند.");
inline const QString date = QStringLiteral("تاریخ: %1");
inline const QString separator = QStringLiteral("  ·  ");
inline const QString writeFailed = QStringLiteral("نوشتن فایل کامل نشد");

} // namespace IqChartTexts
