#pragma once

#include <QRect>
#include <QRectF>
#include <array>

/// Where things stand on one item picture, in twips (15 per pixel at 1x).
struct ItemLayout
{
    static constexpr int Width = 9495;
    static constexpr int Height = 6315;

    std::array<QRect, 6> options; // the click rectangles written to the manifest
    std::array<QRectF, 6> cards; // the drawn option cards, inside their rectangles
    std::array<QRectF, 6> badges; // the option numbers
    std::array<QRectF, 6> figures; // the option drawings, one size for all six
    QRectF stem; // the incomplete pattern above the options
};

/// Layout of item `number` whose option drawings have the given width/height ratio.
ItemLayout layoutItem(int number, double figureAspect);
