#pragma once

#include <QFont>
#include <QString>

/// The fonts the pictures are drawn with, loaded from their files so that
/// every run draws with exactly the same glyphs.
namespace Fonts {
/// Loads the fonts; false with a message naming the missing file or family.
bool load(QString *error);
QFont digits(int pixelSize);
QFont nazli(int pixelSize, bool bold = false);
QFont titr(int pixelSize);
} // namespace Fonts
