#pragma once

#include <QString>

/// The texts of the scoring sheet.
namespace ScoringSheetTexts {

inline const QString exactAgeCaption = QStringLiteral("سن دقيق: ");

} // namespace ScoringSheetTexts
