#include "test/content/OptionSnap.h"

#include "test/content/OptionRules.h"

#include <QtGlobal>

#include <cstdlib>

using namespace OptionRules;

namespace {

constexpr int Pixel = 15;
constexpr int MagnetReach = 4 * Pixel;

int onPixel(int twips)
{
    return int(std::lround(double(twips) / Pixel)) * Pixel;
}

int clampTo(int value, int low, int high)
{
    return qBound(low, value, qMax(low, high));
}

bool sideBySide(const QRect &a, const QRect &b)
{
    return a.left() < b.left() + b.width() && b.left() < a.left() + a.width();
}

} // namespace

namespace OptionSnap {

QRect snap(int option, const QRect &proposed, const std::array<QRect, 6> &all, Magnet magnet)
{
    const bool upper = option < 3;
    const int column = option % 3;
    const int first = upper ? 0 : 3;
    const int topMin = upper ? UpperTopMin : LowerTopMin;
    const int topMax = upper ? UpperTopMax : LowerTopMax;
    const QRect left = column > 0 ? all[size_t(option - 1)] : QRect();
    const QRect right = column < 2 ? all[size_t(option + 1)] : QRect();

    int w = clampTo(onPixel(proposed.width()), WidthMin, WidthMax);
    int h = clampTo(onPixel(proposed.height()), HeightMin, HeightMax);
    int x = onPixel(proposed.x());
    int y = onPixel(proposed.y());

    if (magnet == Magnet::On) {
        // Tops and heights line up with the row's other options when close.
        for (int k = first; k < first + 3; ++k) {
            const QRect &o = all[size_t(k)];
            if (k == option || o.isEmpty())
                continue;
            if (std::abs(o.top() - y) <= MagnetReach)
                y = o.top();
            if (std::abs(o.height() - h) <= MagnetReach)
                h = o.height();
        }
        // A left edge close to its neighbour's right edge closes the gap to one pixel.
        if (!left.isEmpty() && std::abs(x - (left.left() + left.width() + Pixel)) <= MagnetReach)
            x = left.left() + left.width() + Pixel;
        // Left edges line up with the option above or below.
        const QRect &other = all[size_t(upper ? option + 3 : option - 3)];
        if (!other.isEmpty() && std::abs(other.left() - x) <= MagnetReach)
            x = other.left();
    }

    // Within the row's neighbours and the picture.
    const int xMin = left.isEmpty() ? 0 : left.left() + left.width();
    const int xMax = (right.isEmpty() ? RightMax : right.left()) - w;
    if (xMax < xMin) // no room: narrow it as far as the rules allow
        w = clampTo(w - (xMin - xMax), WidthMin, WidthMax);
    x = clampTo(x, xMin, (right.isEmpty() ? RightMax : right.left()) - w);

    // Clear of the other row's options it stands above or below.
    int yMin = topMin;
    int yMax = qMin(topMax, BottomMax - h);
    for (int k = upper ? 3 : 0; k < (upper ? 6 : 3); ++k) {
        const QRect &o = all[size_t(k)];
        if (o.isEmpty() || !sideBySide(QRect(x, y, w, h), o))
            continue;
        if (upper)
            yMax = qMin(yMax, o.top() - h);
        else
            yMin = qMax(yMin, o.top() + o.height());
    }
    y = clampTo(y, yMin, yMax);
    return QRect(x, y, w, h);
}

QRect defaultPlace(int option)
{
    const int column = option % 3;
    const int top = option < 3 ? 3720 : 5100;
    return QRect(120 + column * 3360, top, 2400, 900);
}

} // namespace OptionSnap
