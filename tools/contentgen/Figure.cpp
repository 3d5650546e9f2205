#include "Figure.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

Glyph glyph(Shape shape, const QColor &colour, double radius, double angle, Fill fill)
{
    Glyph g;
    g.shape = shape;
    g.colour = colour;
    g.radius = radius;
    g.angle = angle;
    g.fill = fill;
    return g;
}

Fig counted(int count, const Glyph &one)
{
    static const std::vector<std::vector<QPointF>> places = {
        { { 0, 0 } },
        { { -0.5, 0 }, { 0.5, 0 } },
        { { 0, -0.45 }, { -0.5, 0.42 }, { 0.5, 0.42 } },
        { { -0.45, -0.45 }, { 0.45, -0.45 }, { -0.45, 0.45 }, { 0.45, 0.45 } },
    };
    static const double largest[] = { 1.0, 0.42, 0.38, 0.38 };
    const int index = qBound(1, count, 4) - 1;
    Fig fig;
    for (const QPointF &place : places[index]) {
        Glyph g = one;
        g.centre = place;
        g.radius = qMin(one.radius, largest[index]);
        fig.add(g);
    }
    return fig;
}

namespace {

QPainterPath polygonPath(const std::vector<QPointF> &points)
{
    QPainterPath path;
    path.moveTo(points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    path.closeSubpath();
    return path;
}

QPainterPath regular(int corners, double r, double innerRatio)
{
    std::vector<QPointF> points;
    const int steps = innerRatio > 0 ? corners * 2 : corners;
    for (int i = 0; i < steps; ++i) {
        const double a = -M_PI / 2 + i * 2 * M_PI / steps;
        const double radius = (innerRatio > 0 && i % 2 == 1) ? r * innerRatio : r;
        points.emplace_back(radius * std::cos(a), radius * std::sin(a));
    }
    return polygonPath(points);
}

QPainterPath outline(Shape shape, double r)
{
    QPainterPath path;
    switch (shape) {
    case Shape::Circle:
        path.addEllipse(QPointF(0, 0), r, r);
        break;
    case Shape::Square:
    case Shape::Quadrants:
        path.addRect(QRectF(-0.85 * r, -0.85 * r, 1.7 * r, 1.7 * r));
        break;
    case Shape::Triangle: {
        // Nudged down so the triangle's mass sits at the centre of the cell.
        const double dy = 0.12 * r;
        path = polygonPath({ { 0, -r + dy }, { 0.95 * r, 0.62 * r + dy }, { -0.95 * r, 0.62 * r + dy } });
        break;
    }
    case Shape::Diamond:
        path = polygonPath({ { 0, -r }, { 0.72 * r, 0 }, { 0, r }, { -0.72 * r, 0 } });
        break;
    case Shape::Star:
        path = regular(5, r, 0.45);
        break;
    case Shape::Hexagon:
        path = regular(6, r, 0);
        break;
    case Shape::Arrow:
        path = polygonPath({ { 0, -r }, { 0.68 * r, -0.05 * r }, { 0.26 * r, -0.05 * r }, { 0.26 * r, r },
            { -0.26 * r, r }, { -0.26 * r, -0.05 * r }, { -0.68 * r, -0.05 * r } });
        break;
    case Shape::Line:
    case Shape::Ray:
        break;
    }
    return path;
}

void drawStroke(QPainter &painter, const Glyph &g, double r, double unit)
{
    QPen pen(g.colour, unit * 0.16, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    if (g.shape == Shape::Line)
        painter.drawLine(QPointF(0, -r), QPointF(0, r));
    else
        painter.drawLine(QPointF(0, 0), QPointF(0, -r));
}

void drawQuadrants(QPainter &painter, const Glyph &g, double r, double unit)
{
    const double s = 0.85 * r;
    const QRectF quads[] = { { -s, -s, s, s }, { 0, -s, s, s }, { 0, 0, s, s }, { -s, 0, s, s } };
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(-s, -s, 2 * s, 2 * s));
    painter.setBrush(g.colour);
    for (int i = 0; i < 4; ++i) {
        if (g.quadrants & (1u << i))
            painter.drawRect(quads[i]);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(g.colour.darker(150), unit * 0.06));
    painter.drawRect(QRectF(-s, -s, 2 * s, 2 * s));
    painter.drawLine(QPointF(0, -s), QPointF(0, s));
    painter.drawLine(QPointF(-s, 0), QPointF(s, 0));
}

void drawGlyph(QPainter &painter, const QRectF &cell, const Glyph &g)
{
    const double unit = qMin(cell.width(), cell.height()) / 2;
    const double r = g.radius * unit;
    painter.save();
    painter.translate(cell.center() + g.centre * unit);
    painter.rotate(g.angle);

    if (g.shape == Shape::Line || g.shape == Shape::Ray) {
        drawStroke(painter, g, r, unit);
        painter.restore();
        return;
    }
    if (g.shape == Shape::Quadrants) {
        drawQuadrants(painter, g, r, unit);
        painter.restore();
        return;
    }

    const QPainterPath path = outline(g.shape, r);
    const QPen edge(g.colour.darker(140), unit * 0.05, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (g.fill) {
    case Fill::Solid:
        painter.setPen(edge);
        painter.setBrush(g.colour);
        painter.drawPath(path);
        break;
    case Fill::Hollow:
        painter.setPen(QPen(g.colour, unit * 0.12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::white);
        painter.drawPath(path);
        break;
    case Fill::Striped: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPath(path);
        painter.save();
        painter.setClipPath(path, Qt::IntersectClip);
        painter.setPen(QPen(g.colour, r * 0.16));
        for (double x = -2 * r; x <= 2 * r; x += r * 0.4)
            painter.drawLine(QPointF(x - r, r), QPointF(x + r, -r));
        painter.restore();
        painter.setPen(edge);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        break;
    }
    case Fill::Half: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPath(path);
        painter.save();
        painter.setClipPath(path, Qt::IntersectClip);
        painter.setBrush(g.colour);
        painter.drawRect(QRectF(-2 * r, -2 * r, 4 * r, 2 * r));
        painter.restore();
        painter.setPen(edge);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        break;
    }
    }
    painter.restore();
}

} // namespace

void drawFig(QPainter &painter, const QRectF &cell, const Fig &fig)
{
    for (const Glyph &g : fig.glyphs)
        drawGlyph(painter, cell, g);
}
