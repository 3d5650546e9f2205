#pragma once

#include "ItemLayout.h"

#include <QRectF>
#include <array>
#include <functional>

class QPainter;

/// What one item draws: its incomplete pattern and its six options, the
/// options already in their places (index 0 is option 1).
struct ItemDesign
{
    std::function<void(QPainter &)> stem;
    std::array<std::function<void(QPainter &, const QRectF &)>, 6> options;
    int key = 0; // 1..6
};

/// The correct option's place for every item (index 0 is item 1).
const std::array<int, 36> &answerKey();

/// The design of item `number` (1..36) laid out by `layout`.
ItemDesign designItem(int number, const ItemLayout &layout);

/// Width/height ratio of the option drawings of item `number`.
double figureAspect(int number);
