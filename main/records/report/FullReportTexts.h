#pragma once

#include <QString>

/// The titles of the full report.
namespace FullReportTexts {

inline const QString title = QStringLiteral("گزارش گيري کل");
inline const QString testTitle = QStringLiteral("آزمون پلورين کودکان");

} // namespace FullReportTexts
