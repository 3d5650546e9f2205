#pragma once

#include <QString>

#include <optional>

/// Rules of the item counter Txt1: which item its text shows and what the
/// next and previous buttons make of it. The window applies the results.
namespace ItemCounter {

constexpr int kItems = 36;

struct Display
{
    int item = 0; ///< picture to show, 1..36; 0 shows none
    std::optional<QString> rewrite; ///< text the counter must take instead
};

/// ShowItem: below 1 the counter becomes "1", above 36 it becomes "36"; a
/// whole number shows its item; a fraction in between shows nothing.
Display display(const QString &text);

struct Step
{
    bool store = false; ///< the answer row is updated first
    std::optional<QString> counter; ///< the counter's new text, if it moves
};

/// NextItem: below 0 the counter becomes "1" without storing; up to 37 the
/// row is stored and the counter goes up by one (when its text is a plain
/// number); above 37 nothing happens.
Step next(const QString &text);

/// PreviousItem: the row is stored and the counter goes down by one (when
/// its text is a plain number).
Step previous(const QString &text);

} // namespace ItemCounter
