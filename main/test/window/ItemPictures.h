#pragma once

#include <QPixmap>
#include <QString>

struct TestItem;

/// The item pictures, decoded once per program run and on demand: a test
/// window shows before its 36 pictures are read, and a second test in the
/// same run reads none. Where the screen has more than one device pixel per
/// logical pixel the sharp @2x copy is used.
namespace ItemPictures {

QPixmap picture(const TestItem &item, qreal devicePixelRatio);

/// Whether the picture for this item and ratio is decoded already.
bool isDecoded(const TestItem &item, qreal devicePixelRatio);

} // namespace ItemPictures
