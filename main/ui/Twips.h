#pragma once

#include <QRect>
#include <QtMath>

/// Geometry is designed in twips; 15 twips make one logical pixel.
namespace Twips {

constexpr int kPerPixel = 15;

inline int px(int twips)
{
    return qRound(double(twips) / kPerPixel);
}
inline QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}
inline QRect rect(const QRect &twips)
{
    return rect(twips.x(), twips.y(), twips.width(), twips.height());
}

} // namespace Twips
