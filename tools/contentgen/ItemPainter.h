#pragma once

#include <QImage>

struct ItemLayout;
struct ItemDesign;

/// Draws an item picture; `scale` 1 gives 633 x 421 pixels, 2 the
/// high-density copy.
QImage paintItem(const ItemLayout &layout, const ItemDesign &design, int scale);
