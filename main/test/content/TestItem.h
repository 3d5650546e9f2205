#pragma once

#include <QRect>
#include <QString>
#include <array>

/// One test item as the content manifest describes it.
struct TestItem
{
    int number = 0; ///< 1..36
    QString picturePath; ///< absolute path of the 633 x 421 picture
    QString picture2xPath; ///< absolute path of the 1266 x 842 copy, or empty
    std::array<QRect, 6> options; ///< click rectangles of options 1..6, twips within the picture
    int key = 0; ///< the correct option, 1..6
};
