#include "Pattern.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

// Bounds of `area` in the layer's rotated frame, so bands cover it whatever the angle.
QRectF rotatedBounds(const QRectF &area, double angle)
{
    QTransform t;
    t.rotate(-angle);
    return t.mapRect(area);
}

int floorDiv(double value, double step)
{
    return static_cast<int>(std::floor(value / step));
}

void stripes(QPainter &p, const QRectF &area, const Layer &l)
{
    p.rotate(l.angle);
    const QRectF b = rotatedBounds(area, l.angle);
    const int n = static_cast<int>(l.colours.size());
    p.setPen(Qt::NoPen);
    for (int k = floorDiv(b.top(), l.size) - 1; k * l.size <= b.bottom() + l.size; ++k) {
        p.setBrush(l.colours[((k % n) + n) % n]);
        p.drawRect(QRectF(b.left() - l.size, k * l.size, b.width() + 2 * l.size, l.size));
    }
}

void checks(QPainter &p, const QRectF &area, const Layer &l)
{
    p.rotate(l.angle);
    const QRectF b = rotatedBounds(area, l.angle);
    p.setPen(Qt::NoPen);
    for (int j = floorDiv(b.top(), l.size) - 1; j * l.size <= b.bottom() + l.size; ++j) {
        for (int i = floorDiv(b.left(), l.size) - 1; i * l.size <= b.right() + l.size; ++i) {
            p.setBrush(l.colours[((i + j) % 2 + 2) % 2]);
            p.drawRect(QRectF(i * l.size, j * l.size, l.size, l.size));
        }
    }
}

void dots(QPainter &p, const QRectF &area, const Layer &l)
{
    const double sx = l.size;
    const double sy = l.size2 > 0 ? l.size2 : l.size;
    if (l.ring) {
        p.setPen(QPen(l.colours[0], l.radius * 0.45));
        p.setBrush(Qt::NoBrush);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(l.colours[0]);
    }
    for (int j = floorDiv(area.top(), sy) - 1; j * sy <= area.bottom() + sy; ++j) {
        const double dx = (l.stagger && (j % 2 != 0)) ? sx / 2 : 0;
        for (int i = floorDiv(area.left(), sx) - 1; i * sx <= area.right() + sx; ++i) {
            const QPointF c(i * sx + sx / 2 + dx, j * sy + sy / 2);
            if (l.square)
                p.drawRect(QRectF(c.x() - l.radius, c.y() - l.radius, 2 * l.radius, 2 * l.radius));
            else
                p.drawEllipse(c, l.radius, l.radius);
        }
    }
}

void waves(QPainter &p, const QRectF &area, const Layer &l)
{
    p.rotate(l.angle);
    const QRectF b = rotatedBounds(area, l.angle);
    p.setPen(QPen(l.colours[0], l.radius, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const double amplitude = l.amplitude;
    for (int k = floorDiv(b.top(), l.size) - 1; k * l.size <= b.bottom() + l.size; ++k) {
        QPainterPath path;
        const double y0 = k * l.size + l.size / 2;
        const double start = (floorDiv(b.left(), l.size2) - 1) * l.size2;
        const double step = l.square ? l.size2 / 2 : l.size2 / 24;
        bool first = true;
        for (double x = start; x <= b.right() + l.size2; x += step) {
            double y;
            if (l.square) {
                const int half = static_cast<int>(std::lround((x - start) / step));
                y = y0 + ((half % 2 == 0) ? -amplitude : amplitude);
            } else {
                y = y0 - amplitude * std::sin(2 * M_PI * x / l.size2);
            }
            if (first)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
            first = false;
        }
        p.drawPath(path);
    }
}

void lattice(QPainter &p, const QRectF &area, const Layer &l)
{
    p.rotate(l.angle);
    const QRectF b = rotatedBounds(area, l.angle);
    p.setPen(QPen(l.colours[0], l.radius, Qt::SolidLine, Qt::FlatCap));
    for (int k = floorDiv(b.left(), l.size) - 1; k * l.size <= b.right() + l.size; ++k)
        p.drawLine(QPointF(k * l.size, b.top() - l.size), QPointF(k * l.size, b.bottom() + l.size));
    if (l.size2 >= 0) {
        for (int k = floorDiv(b.top(), l.size) - 1; k * l.size <= b.bottom() + l.size; ++k)
            p.drawLine(QPointF(b.left() - l.size, k * l.size), QPointF(b.right() + l.size, k * l.size));
    }
}

void bricks(QPainter &p, const QRectF &area, const Layer &l)
{
    p.rotate(l.angle);
    const QRectF b = rotatedBounds(area, l.angle);
    const double h = l.size;
    const double w = l.size2;
    p.setPen(Qt::NoPen);
    p.setBrush(l.colours[1]);
    p.drawRect(b.adjusted(-w, -h, w, h));
    p.setBrush(l.colours[0]);
    const double gap = l.radius;
    for (int j = floorDiv(b.top(), h) - 1; j * h <= b.bottom() + h; ++j) {
        const double dx = (l.stagger && (j % 2 != 0)) ? w / 2 : 0;
        for (int i = floorDiv(b.left(), w) - 2; i * w <= b.right() + w; ++i)
            p.drawRect(QRectF(i * w + dx + gap / 2, j * h + gap / 2, w - gap, h - gap));
    }
}

void rings(QPainter &p, const QRectF &area, const Layer &l)
{
    const int n = static_cast<int>(l.colours.size());
    double far = 0;
    for (const QPointF &corner : { area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight() })
        far = qMax(far, std::hypot(corner.x() - l.centre.x(), corner.y() - l.centre.y()));
    const int count = static_cast<int>(far / l.size) + 2;
    p.setPen(Qt::NoPen);
    for (int k = count; k >= 0; --k) {
        p.setBrush(l.colours[k % n]);
        p.drawEllipse(l.centre, (k + 1) * l.size, (k + 1) * l.size);
    }
}

} // namespace

void drawPattern(QPainter &painter, const QRectF &area, const Pattern &pattern)
{
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    for (const Layer &layer : pattern) {
        painter.save();
        painter.translate(layer.shift);
        const QRectF local = area.translated(-layer.shift);
        switch (layer.kind) {
        case Layer::Plain:
            painter.fillRect(local, layer.colours[0]);
            break;
        case Layer::Stripes:
            stripes(painter, local, layer);
            break;
        case Layer::Checks:
            checks(painter, local, layer);
            break;
        case Layer::Dots:
            dots(painter, local, layer);
            break;
        case Layer::Waves:
            waves(painter, local, layer);
            break;
        case Layer::Lattice:
            lattice(painter, local, layer);
            break;
        case Layer::Bricks:
            bricks(painter, local, layer);
            break;
        case Layer::Rings:
            rings(painter, local, layer);
            break;
        }
        painter.restore();
    }
    painter.restore();
}

void drawPiece(QPainter &painter, const QRectF &target, const QPointF &source, const Pattern &pattern)
{
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft() - source);
    drawPattern(painter, QRectF(source, target.size()), pattern);
    painter.restore();
}
