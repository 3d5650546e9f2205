#pragma once

#include <QColor>

// The colours every picture draws with, so items, form and art stay one family.
namespace Palette {
inline const QColor Red { 229, 57, 53 };
inline const QColor Blue { 30, 136, 229 };
inline const QColor Green { 67, 160, 71 };
inline const QColor Yellow { 253, 216, 53 };
inline const QColor Orange { 251, 140, 0 };
inline const QColor Purple { 142, 36, 170 };
inline const QColor White { 255, 255, 255 };
inline const QColor Ink { 38, 50, 56 };

inline const QColor ItemBackground { 250, 246, 236 };
inline const QColor PanelBackground { 238, 243, 240 };
inline const QColor PanelBorder { 155, 176, 165 };
inline const QColor CellBorder { 201, 211, 206 };
inline const QColor Badge { 81, 128, 91 }; // the main window's panel green
inline const QColor Button { 253, 191, 201 }; // the main window's button pink
inline const QColor GridGrey { 185, 185, 185 }; // the test window's answer grid
inline const QColor GridCell { 163, 188, 176 };
} // namespace Palette
