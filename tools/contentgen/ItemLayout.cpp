#include "ItemLayout.h"

#include <algorithm>
#include <cmath>

namespace {

// The first and the last item keep the rectangles the printed test materials
// use, so both ends of the set line up with the click regions clinics know.
constexpr std::array<QRect, 6> FirstItem
    = { QRect(120, 3780, 2595, 975), QRect(3480, 3720, 2595, 975), QRect(6840, 3780, 2535, 975),
          QRect(120, 5160, 2535, 975), QRect(3480, 5160, 2595, 975), QRect(6840, 5220, 2175, 975) };
constexpr std::array<QRect, 6> LastItem
    = { QRect(1920, 3840, 1635, 975), QRect(4500, 3840, 1575, 915), QRect(7020, 3840, 1695, 915),
          QRect(1920, 5100, 1635, 855), QRect(4440, 5100, 1635, 855), QRect(7020, 5100, 1695, 915) };

std::array<QRect, 6> standardRects()
{
    constexpr int lefts[] = { 540, 3540, 6540 };
    constexpr int tops[] = { 3720, 4860 };
    std::array<QRect, 6> rects;
    for (int i = 0; i < 6; ++i)
        rects[i] = QRect(lefts[i % 3], tops[i / 3], 2400, 915);
    return rects;
}

// Keeps drawings on whole pixels at 1x.
double snap(double twips)
{
    return std::floor(twips / 15.0) * 15.0;
}

} // namespace

ItemLayout layoutItem(int number, double figureAspect)
{
    ItemLayout layout;
    layout.options = number == 1 ? FirstItem : number == 36 ? LastItem : standardRects();
    const auto &r = layout.options;

    // A card is the part its column and its row have in common, so the six
    // cards line up even where the rectangles do not.
    double width = 1e9;
    double height = 1e9;
    double colLeft[3];
    double rowTop[2];
    double rowBottom[2];
    for (int c = 0; c < 3; ++c) {
        colLeft[c] = std::max(r[c].left(), r[c + 3].left());
        const double right = std::min(r[c].left() + r[c].width(), r[c + 3].left() + r[c + 3].width());
        width = std::min(width, right - colLeft[c]);
    }
    for (int row = 0; row < 2; ++row) {
        rowTop[row] = 0;
        rowBottom[row] = 1e9;
        for (int c = 0; c < 3; ++c) {
            const QRect &q = r[row * 3 + c];
            rowTop[row] = std::max<double>(rowTop[row], q.top());
            rowBottom[row] = std::min<double>(rowBottom[row], q.top() + q.height());
        }
        height = std::min(height, rowBottom[row] - rowTop[row]);
    }

    constexpr double margin = 60;
    const double badge = std::min(420.0, height - 2 * margin);
    const double room = width - badge - 3 * margin;
    double fh = snap(height - 2 * margin);
    double fw = snap(fh * figureAspect);
    if (fw > room) {
        fw = snap(room);
        fh = snap(fw / figureAspect);
    }

    for (int i = 0; i < 6; ++i) {
        const int row = i / 3;
        const QRectF card(colLeft[i % 3], rowTop[row], width, rowBottom[row] - rowTop[row]);
        layout.cards[i] = card;
        layout.badges[i] = QRectF(card.left() + margin, card.center().y() - badge / 2, badge, badge);
        const double areaLeft = card.left() + 2 * margin + badge;
        const double left = snap(areaLeft + (card.right() - margin - areaLeft - fw) / 2);
        const double top = snap(card.center().y() - fh / 2 + 7);
        layout.figures[i] = QRectF(left, top, fw, fh);
    }
    layout.stem = QRectF(300, 150, 8895, 3390);
    return layout;
}
