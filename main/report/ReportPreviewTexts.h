#pragma once

#include <QString>

/// The texts of the print preview.
namespace ReportPreviewTexts {

inline const QString print = QStringLiteral("پرينت");
inline const QString savePdf = QStringLiteral("ذخيره PDF");
inline const QString fitWidth = QStringLiteral("تمام عرض");
inline const QString wholePage = QStringLiteral("تمام صفحه");
// What a screen reader says for the page view.
inline const QString pagesName = QStringLiteral("صفحه هاي گزارش");

} // namespace ReportPreviewTexts
