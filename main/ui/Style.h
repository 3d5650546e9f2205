#pragma once

#include <QColor>
#include <QString>

/// The look every window shares: the pink push buttons and their colours.
namespace Style {

inline const QColor buttonFace { 253, 191, 201 };
inline const QColor buttonHover { 255, 210, 218 };
inline const QColor buttonPressed { 232, 168, 180 };
inline const QColor buttonBorder { 150, 96, 110 };
inline const QColor fieldBorder { 60, 96, 68 };

/// Stylesheet rules for the pink push buttons, with the corner radius in
/// pixels; the disabled look is greyed.
QString pinkButtons(int radius = 6);

} // namespace Style
