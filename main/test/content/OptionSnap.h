#pragma once

#include <QRect>

#include <array>

/// Brings an option rectangle the editor moved or drew into the place the
/// loader accepts: its row's top range, the width and height ranges, inside
/// the picture, right of its left neighbour, left of its right one and clear
/// of the other row. Rectangles are in twips, on whole pixels (15 twips).
namespace OptionSnap {

enum class Magnet {
    Off, ///< keyboard steps: only the rules
    On ///< mouse: edges within a few pixels of a neighbour's line up with it
};

/// \a option 0..5 (options 1..6), \a proposed its new rectangle, \a all the
/// item's six rectangles as they stand (all[option] is ignored).
QRect snap(int option, const QRect &proposed, const std::array<QRect, 6> &all, Magnet magnet = Magnet::On);

/// A first place for option \a option when an item has none yet: the six in
/// their rows, evenly spread.
QRect defaultPlace(int option);

} // namespace OptionSnap
