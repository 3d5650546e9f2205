#include "ItemDesign.h"

#include "Figure.h"
#include "Fonts.h"
#include "Palette.h"
#include "Pattern.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <vector>

using namespace Palette;

namespace {

using OptionDraw = std::function<void(QPainter &, const QRectF &)>;

// Spread over all six places, six times each, never three alike in a row.
constexpr std::array<int, 36> Key
    = { 3, 5, 1, 6, 2, 4, 2, 6, 4, 1, 5, 3, 6, 1, 3, 5, 4, 2, 4, 2, 5, 3, 6, 1, 1, 4, 6, 2, 3, 5, 5, 3, 2, 4, 1, 6 };

const QColor Clear(0, 0, 0, 0);
const QColor Cream(255, 243, 224);
const QColor Straw(255, 248, 200);

double snap(double twips)
{
    return std::round(twips / 15.0) * 15.0;
}

// Puts the correct option at the key's place and the distractors, in order,
// in the remaining places.
ItemDesign place(int number, std::function<void(QPainter &)> stem, const std::vector<OptionDraw> &choices)
{
    ItemDesign design;
    design.key = Key[number - 1];
    design.stem = std::move(stem);
    int next = 1;
    for (int i = 0; i < 6; ++i) {
        if (i + 1 == design.key)
            design.options[i] = choices[0];
        else
            design.options[i] = choices[next++];
    }
    return design;
}

void drawQuestionMark(QPainter &p, const QRectF &box, const QColor &colour)
{
    p.setPen(colour);
    p.setFont(Fonts::digits(static_cast<int>(box.height() * 0.6)));
    p.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
}

// ---- continuous patterns with a piece cut out -------------------------------

struct Piece
{
    Pattern pattern;
    QPointF offset { 0, 0 }; // where, relative to the hole, the piece is taken from
};

const QRectF PatternPanel(1800, 240, 5895, 3180);

Layer layer(Layer::Kind kind, std::vector<QColor> colours, double size = 0, double size2 = 0, double radius = 0,
    double angle = 0)
{
    Layer l;
    l.kind = kind;
    l.colours = std::move(colours);
    l.size = size;
    l.size2 = size2;
    l.radius = radius;
    l.angle = angle;
    return l;
}

Layer plain(const QColor &c)
{
    return layer(Layer::Plain, { c });
}

Layer stripes(std::vector<QColor> colours, double band, double angle = 0)
{
    return layer(Layer::Stripes, std::move(colours), band, 0, 0, angle);
}

Layer checks(const QColor &a, const QColor &b, double side, double angle = 0)
{
    return layer(Layer::Checks, { a, b }, side, 0, 0, angle);
}

Layer dots(const QColor &c, double spacing, double radius, double rowSpacing = 0, bool stagger = false)
{
    Layer l = layer(Layer::Dots, { c }, spacing, rowSpacing, radius);
    l.stagger = stagger;
    return l;
}

Layer waves(const QColor &c, double spacing, double length, double amplitude, double angle = 0)
{
    Layer l = layer(Layer::Waves, { c }, spacing, length, 45, angle);
    l.amplitude = amplitude;
    return l;
}

Layer lattice(const QColor &c, double spacing, double width, double angle = 0)
{
    return layer(Layer::Lattice, { c }, spacing, 0, width, angle);
}

Layer bricks(const QColor &brick, const QColor &mortar, double height, double length, bool stagger = true)
{
    Layer l = layer(Layer::Bricks, { brick, mortar }, height, length, 45);
    l.stagger = stagger;
    return l;
}

Layer rings(std::vector<QColor> colours, double band, const QPointF &centre)
{
    Layer l = layer(Layer::Rings, std::move(colours), band);
    l.centre = centre;
    return l;
}

Layer shifted(Layer l, double dx, double dy)
{
    l.shift = QPointF(dx, dy);
    return l;
}

QRectF holeRect(const ItemLayout &layout, double fx, double fy)
{
    const QSizeF size = layout.figures[0].size();
    return QRectF(snap(PatternPanel.left() + fx * (PatternPanel.width() - size.width())),
        snap(PatternPanel.top() + fy * (PatternPanel.height() - size.height())), size.width(), size.height());
}

void drawPanelFrame(QPainter &p, const QRectF &panel)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(PanelBorder, 45));
    p.drawRoundedRect(panel.adjusted(-22, -22, 22, 22), 60, 60);
}

ItemDesign pieceItem(int number, const ItemLayout &layout, const Pattern &pattern, double fx, double fy,
    const std::vector<Piece> &pieces)
{
    const QRectF hole = holeRect(layout, fx, fy);
    auto stem = [pattern, hole](QPainter &p) {
        drawPattern(p, PatternPanel, pattern);
        drawPanelFrame(p, PatternPanel);
        p.fillRect(hole, Qt::white);
        drawQuestionMark(p, hole, PanelBorder);
        p.setPen(QPen(Ink, 30));
        p.setBrush(Qt::NoBrush);
        p.drawRect(hole);
    };
    std::vector<OptionDraw> choices;
    for (const Piece &piece : pieces) {
        choices.push_back([piece, hole](QPainter &p, const QRectF &box) {
            drawPiece(p, box, hole.topLeft() + piece.offset, piece.pattern);
            p.setPen(QPen(Ink, 30));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box);
        });
    }
    return place(number, stem, choices);
}

// ---- matrices with the last cell missing ------------------------------------

ItemDesign matrixItem(
    int number, const ItemLayout &layout, int n, const std::vector<Fig> &cells, const std::vector<Fig> &options)
{
    const double gap = n == 2 ? 120 : 90;
    const double pad = 135;
    const double cell = std::floor((layout.stem.height() - 2 * pad - (n - 1) * gap) / n / 15) * 15;
    const double side = n * cell + (n - 1) * gap + 2 * pad;
    const QRectF panel(snap(layout.stem.center().x() - side / 2), layout.stem.top(), side, side);

    auto stem = [n, cells, panel, cell, gap, pad](QPainter &p) {
        p.setPen(QPen(PanelBorder, 45));
        p.setBrush(PanelBackground);
        p.drawRoundedRect(panel, 90, 90);
        for (int i = 0; i < n * n; ++i) {
            const QRectF box(
                panel.left() + pad + (i % n) * (cell + gap), panel.top() + pad + (i / n) * (cell + gap), cell, cell);
            if (i + 1 < n * n) {
                p.setPen(QPen(CellBorder, 20));
                p.setBrush(Qt::white);
                p.drawRoundedRect(box, 60, 60);
                drawFig(p, box.adjusted(60, 60, -60, -60), cells[i]);
            } else {
                p.setPen(QPen(Badge, 30, Qt::DashLine));
                p.setBrush(QColor(248, 251, 249));
                p.drawRoundedRect(box, 60, 60);
                drawQuestionMark(p, box, Badge);
            }
        }
    };
    std::vector<OptionDraw> choices;
    for (const Fig &fig : options)
        choices.push_back([fig](QPainter &p, const QRectF &box) {
            // Framed like a cell of the matrix, so sizes read against the same square.
            p.setPen(QPen(CellBorder, 20));
            p.setBrush(Qt::white);
            p.drawRoundedRect(box, 45, 45);
            drawFig(p, box.adjusted(30, 30, -30, -30), fig);
        });
    return place(number, stem, choices);
}

Fig F(Shape shape, const QColor &c, double radius = 0.7, double angle = 0, Fill fill = Fill::Solid)
{
    return Fig().add(glyph(shape, c, radius, angle, fill));
}

Fig C(int count, Shape shape, const QColor &c, double radius = 0.7, double angle = 0, Fill fill = Fill::Solid)
{
    return counted(count, glyph(shape, c, radius, angle, fill));
}

Glyph at(Glyph g, double x, double y)
{
    g.centre = QPointF(x, y);
    return g;
}

// A circle face with rays from its centre; angles in degrees, 0 up.
Fig rays(const std::vector<std::pair<double, QColor>> &hands, const QColor &face = Blue)
{
    Fig fig = F(Shape::Circle, face, 0.85, 0, Fill::Hollow);
    for (const auto &[angle, colour] : hands)
        fig.add(glyph(Shape::Ray, colour, 0.72, angle));
    fig.add(glyph(Shape::Circle, Ink, 0.1));
    return fig;
}

Fig rays(const std::vector<double> &angles)
{
    std::vector<std::pair<double, QColor>> hands;
    for (double a : angles)
        hands.emplace_back(a, Red);
    return rays(hands);
}

Fig framed(const Fig &frame, const std::vector<Glyph> &inside)
{
    Fig fig = frame;
    for (const Glyph &g : inside)
        fig.add(g);
    return fig;
}

// ---- the items --------------------------------------------------------------

ItemDesign patternItem(int number, const ItemLayout &l)
{
    switch (number) {
    case 1: {
        const Pattern p = { stripes({ Red, White }, 150) };
        return pieceItem(number, l, p, 0.62, 0.35,
            { { p }, { { stripes({ Red, White }, 150, 90) } }, { { stripes({ Blue, White }, 150) } },
                { { plain(White), dots(Red, 300, 90) } }, { { plain(Red) } },
                { { stripes({ Red, White }, 150, 45) } } });
    }
    case 2: {
        const Pattern p = { plain(Blue), dots(Yellow, 300, 90) };
        Layer squares = dots(Yellow, 300, 80);
        squares.square = true;
        return pieceItem(number, l, p, 0.3, 0.6,
            { { p }, { { plain(Blue), squares } }, { { plain(Yellow), dots(Blue, 300, 90) } },
                { { plain(Blue), dots(Yellow, 540, 170) } }, { { plain(Green), dots(Yellow, 300, 90) } },
                { { stripes({ Yellow, Blue }, 150) } } });
    }
    case 3: {
        const Pattern p = { checks(Green, White, 240) };
        return pieceItem(number, l, p, 0.66, 0.42,
            { { p }, { { checks(Blue, White, 240) } }, { { checks(Green, White, 420) } },
                { { checks(Green, Yellow, 240) } }, { { stripes({ Green, White }, 240, 90) } },
                { { checks(Green, White, 240, 45) } } });
    }
    case 4: {
        const Pattern p = { stripes({ Red, Yellow, Blue }, 180, 90) };
        return pieceItem(number, l, p, 0.4, 0.5,
            { { p }, { { stripes({ Red, Blue, Yellow }, 180, 90) } }, { { stripes({ Red, Green, Blue }, 180, 90) } },
                { { stripes({ Red, Yellow, Blue }, 180, 0) } }, { { stripes({ Red, Yellow }, 180, 90) } },
                { { stripes({ Red, Yellow, Blue }, 360, 90) } } });
    }
    case 5: {
        const Pattern p = { plain(White), waves(Blue, 270, 810, 81) };
        Layer zigzag = waves(Blue, 270, 810, 81);
        zigzag.square = true;
        return pieceItem(number, l, p, 0.58, 0.3,
            { { p }, { { plain(White), waves(Blue, 270, 810, 0) } }, { { plain(White), waves(Blue, 270, 810, 170) } },
                { { plain(White), waves(Blue, 270, 810, 81, 90) } }, { { plain(White), zigzag } },
                { { plain(White), waves(Red, 270, 810, 81) } } });
    }
    case 6: {
        const Pattern p = { stripes({ Orange, White }, 180, 45) };
        return pieceItem(number, l, p, 0.35, 0.4,
            { { p }, { { stripes({ Orange, White }, 180, -45) } }, { { stripes({ Orange, White }, 180, 0) } },
                { { stripes({ Orange, White }, 360, 45) } }, { { stripes({ Orange, White }, 75, 45) } },
                { { stripes({ Purple, White }, 180, 45) } } });
    }
    case 7: {
        const Pattern p = { plain(Straw), lattice(Green, 300, 45) };
        Layer rows = lattice(Green, 300, 45, 90);
        rows.size2 = -1;
        return pieceItem(number, l, p, 0.7, 0.55,
            { { p }, { { plain(Straw), lattice(Green, 300, 45, 45) } }, { { plain(Straw), lattice(Green, 180, 45) } },
                { { plain(Straw), rows } }, { { plain(Straw), lattice(Blue, 300, 45) } },
                { { plain(Straw), lattice(Red, 300, 100) } } });
    }
    case 8: {
        const Pattern p = { plain(Cream), dots(Red, 300, 80, 260, true) };
        Layer circles = dots(Red, 300, 80, 260, true);
        circles.ring = true;
        Layer blocks = dots(Red, 300, 75, 260, true);
        blocks.square = true;
        return pieceItem(number, l, p, 0.25, 0.3,
            { { p }, { { plain(Cream), dots(Red, 300, 80, 260, false) } }, { { plain(Cream), blocks } },
                { { plain(Cream), dots(Red, 300, 40, 260, true) } }, { { plain(Cream), circles } },
                { { plain(Blue), dots(Red, 300, 80, 260, true) } } });
    }
    case 9: {
        const QColor brick(198, 80, 60);
        const QColor mortar(245, 240, 230);
        const Pattern p = { bricks(brick, mortar, 210, 480) };
        Layer upright = bricks(brick, mortar, 210, 480);
        upright.angle = 90;
        return pieceItem(number, l, p, 0.55, 0.62,
            { { p }, { { bricks(brick, mortar, 210, 480, false) } },
                { { shifted(bricks(brick, mortar, 210, 480), 240, 0) } }, { { upright } },
                { { bricks(QColor(150, 150, 150), mortar, 210, 480) } }, { { bricks(brick, mortar, 360, 840) } } });
    }
    case 10: {
        const QColor blue(30, 136, 229, 150);
        const QColor yellow(253, 216, 53, 170);
        const QColor red(229, 57, 53, 150);
        const Pattern p = { plain(White), stripes({ blue, Clear }, 210), stripes({ yellow, Clear }, 210, 90) };
        return pieceItem(number, l, p, 0.45, 0.45,
            { { p }, { { plain(White), stripes({ blue, Clear }, 210) } },
                { { plain(White), stripes({ yellow, Clear }, 210, 90) } },
                { { plain(White), stripes({ yellow, Clear }, 210), stripes({ blue, Clear }, 210, 90) } },
                { { plain(White), stripes({ blue, Clear }, 210),
                    shifted(stripes({ yellow, Clear }, 210, 90), 210, 0) } },
                { { plain(White), stripes({ blue, Clear }, 210), stripes({ red, Clear }, 210, 90) } } });
    }
    case 11: {
        const QPointF centre = PatternPanel.center();
        const Pattern p = { rings({ Purple, White }, 150, centre) };
        const QRectF hole = holeRect(l, 0.85, 0.12);
        // Pieces from the mirrored places curve the other way.
        const QPointF mirrorX(2 * (centre.x() - hole.center().x()), 0);
        const QPointF mirrorY(0, 2 * (centre.y() - hole.center().y()));
        const QPointF middle = centre - hole.center();
        return pieceItem(number, l, p, 0.85, 0.12,
            { { p }, { p, mirrorX }, { p, mirrorY }, { p, middle }, { { rings({ Green, White }, 150, centre) } },
                { { rings({ Purple, White }, 300, centre) } } });
    }
    case 12: {
        const double s = 270;
        auto spots = [s](const QColor &c, double dx) {
            Layer l = dots(c, 2 * s, 0.28 * s, s, true);
            l.shift = QPointF(dx, 0);
            return l;
        };
        const Pattern p = { checks(Blue, White, s), spots(White, -s / 2) };
        Layer squares = spots(White, -s / 2);
        squares.square = true;
        return pieceItem(number, l, p, 0.6, 0.5,
            { { p }, { { checks(Blue, White, s), spots(Blue, s / 2) } }, { { checks(Blue, White, s) } },
                { { checks(Blue, White, s), spots(Yellow, -s / 2) } },
                { { shifted(checks(Blue, White, s), s, 0), spots(White, s / 2) } },
                { { checks(Blue, White, s), squares } } });
    }
    }
    return {};
}

ItemDesign rowColumnItem(int number, const ItemLayout &l)
{
    using S = Shape;
    switch (number) {
    case 13:
        return matrixItem(number, l, 2, { F(S::Circle, Red), F(S::Circle, Blue), F(S::Square, Red) },
            { F(S::Square, Blue), F(S::Square, Red), F(S::Circle, Blue), F(S::Triangle, Blue), F(S::Square, Green),
                F(S::Circle, Red) });
    case 14:
        return matrixItem(number, l, 2, { F(S::Star, Green, 0.85), F(S::Star, Green, 0.42), F(S::Star, Orange, 0.85) },
            { F(S::Star, Orange, 0.42), F(S::Star, Orange, 0.85), F(S::Star, Green, 0.42), F(S::Circle, Orange, 0.42),
                F(S::Star, Purple, 0.42), F(S::Star, Green, 0.85) });
    case 15:
        return matrixItem(number, l, 2, { C(1, S::Triangle, Blue), C(2, S::Triangle, Blue), C(1, S::Diamond, Blue) },
            { C(2, S::Diamond, Blue), C(1, S::Diamond, Blue), C(2, S::Triangle, Blue), C(3, S::Diamond, Blue),
                C(2, S::Circle, Blue), C(2, S::Diamond, Red) });
    case 16:
        return matrixItem(number, l, 2,
            { F(S::Arrow, Purple, 0.8, 0), F(S::Arrow, Purple, 0.8, 90), F(S::Arrow, Green, 0.8, 0) },
            { F(S::Arrow, Green, 0.8, 90), F(S::Arrow, Green, 0.8, 0), F(S::Arrow, Purple, 0.8, 90),
                F(S::Arrow, Green, 0.8, 270), F(S::Arrow, Green, 0.8, 180), F(S::Arrow, Orange, 0.8, 90) });
    case 17:
        return matrixItem(number, l, 2,
            { F(S::Circle, Red), F(S::Circle, Red, 0.7, 0, Fill::Hollow), F(S::Hexagon, Red) },
            { F(S::Hexagon, Red, 0.7, 0, Fill::Hollow), F(S::Hexagon, Red), F(S::Circle, Red, 0.7, 0, Fill::Hollow),
                F(S::Square, Red, 0.7, 0, Fill::Hollow), F(S::Hexagon, Blue, 0.7, 0, Fill::Hollow),
                F(S::Hexagon, Red, 0.7, 0, Fill::Striped) });
    case 18:
        return matrixItem(number, l, 2, { C(2, S::Circle, Yellow), C(3, S::Circle, Yellow), C(2, S::Circle, Blue) },
            { C(3, S::Circle, Blue), C(2, S::Circle, Blue), C(3, S::Circle, Yellow), C(4, S::Circle, Blue),
                C(3, S::Square, Blue), C(1, S::Circle, Blue) });
    case 19:
        return matrixItem(number, l, 2,
            { F(S::Square, Green, 0.42), F(S::Triangle, Green, 0.42), F(S::Square, Green, 0.85) },
            { F(S::Triangle, Green, 0.85), F(S::Triangle, Green, 0.42), F(S::Square, Green, 0.85),
                F(S::Circle, Green, 0.85), F(S::Triangle, Red, 0.85), F(S::Triangle, Green, 0.85, 180) });
    case 20:
        return matrixItem(number, l, 2,
            { C(1, S::Arrow, Red, 0.7, 270), C(3, S::Arrow, Red, 0.7, 270), C(1, S::Arrow, Red, 0.7, 180) },
            { C(3, S::Arrow, Red, 0.7, 180), C(3, S::Arrow, Red, 0.7, 270), C(1, S::Arrow, Red, 0.7, 180),
                C(3, S::Arrow, Red, 0.7, 0), C(2, S::Arrow, Red, 0.7, 180), C(3, S::Arrow, Blue, 0.7, 180) });
    case 21:
        return matrixItem(number, l, 2,
            { F(S::Square, Orange), F(S::Square, Purple), F(S::Square, Orange, 0.7, 0, Fill::Striped) },
            { F(S::Square, Purple, 0.7, 0, Fill::Striped), F(S::Square, Purple),
                F(S::Square, Orange, 0.7, 0, Fill::Striped), F(S::Square, Purple, 0.7, 0, Fill::Hollow),
                F(S::Circle, Purple, 0.7, 0, Fill::Striped), F(S::Square, Green, 0.7, 0, Fill::Striped) });
    case 22: {
        auto half = [](const QColor &c, double angle) { return F(S::Circle, c, 0.75, angle, Fill::Half); };
        return matrixItem(number, l, 2, { half(Blue, 270), half(Blue, 90), half(Red, 270) },
            { half(Red, 90), half(Red, 270), half(Blue, 90), half(Red, 0), F(S::Circle, Red, 0.75), half(Green, 90) });
    }
    case 23: {
        const Fig square = F(S::Square, Blue, 0.9, 0, Fill::Hollow);
        const Fig circle = F(S::Circle, Blue, 0.85, 0, Fill::Hollow);
        const Glyph dot = glyph(S::Circle, Orange, 0.36);
        const Glyph tri = glyph(S::Triangle, Orange, 0.4);
        const Glyph box = glyph(S::Square, Orange, 0.36);
        return matrixItem(number, l, 2, { framed(square, { dot }), framed(square, { tri }), framed(circle, { dot }) },
            { framed(circle, { tri }), framed(square, { tri }), framed(circle, { dot }), F(S::Triangle, Orange, 0.4),
                framed(circle, { box }), circle });
    }
    case 24: {
        auto pair = [](Shape outer, const QColor &oc, Shape inner, const QColor &ic) {
            return Fig().add(glyph(outer, oc, 0.88)).add(glyph(inner, ic, 0.42));
        };
        return matrixItem(number, l, 2,
            { pair(S::Circle, Blue, S::Square, Yellow), pair(S::Circle, Yellow, S::Square, Blue),
                pair(S::Circle, Blue, S::Star, Yellow) },
            { pair(S::Circle, Yellow, S::Star, Blue), pair(S::Circle, Blue, S::Star, Yellow),
                pair(S::Circle, Yellow, S::Square, Blue), pair(S::Circle, Yellow, S::Star, Red),
                pair(S::Square, Yellow, S::Star, Blue), pair(S::Circle, Yellow, S::Triangle, Blue) });
    }
    }
    return {};
}

ItemDesign twoRuleItem(int number, const ItemLayout &l)
{
    using S = Shape;
    std::vector<Fig> cells;
    switch (number) {
    case 25: {
        const S shapes[] = { S::Circle, S::Square, S::Triangle };
        const QColor colours[] = { Red, Blue, Green };
        for (int i = 0; i < 8; ++i)
            cells.push_back(C(i % 3 + 1, shapes[i / 3], colours[i / 3]));
        return matrixItem(number, l, 3, cells,
            { C(3, S::Triangle, Green), C(2, S::Triangle, Green), C(3, S::Square, Blue), C(3, S::Circle, Green),
                C(3, S::Triangle, Red), C(4, S::Triangle, Green) });
    }
    case 26: {
        const QColor colours[] = { Orange, Purple, Blue };
        for (int i = 0; i < 8; ++i)
            cells.push_back(F(S::Arrow, colours[i / 3], 0.8, (i % 3) * 45));
        return matrixItem(number, l, 3, cells,
            { F(S::Arrow, Blue, 0.8, 90), F(S::Arrow, Blue, 0.8, 45), F(S::Arrow, Blue, 0.8, 180),
                F(S::Arrow, Purple, 0.8, 90), F(S::Arrow, Blue, 0.8, 270), F(S::Arrow, Green, 0.8, 90) });
    }
    case 27: {
        // The third figure of a row holds the lines of the first two.
        const Fig frame = F(S::Square, PanelBorder, 0.95, 0, Fill::Hollow);
        auto lines = [frame](std::initializer_list<double> angles) {
            Fig fig = frame;
            for (double a : angles)
                fig.add(glyph(S::Line, Blue, 0.72, a));
            return fig;
        };
        const double parts[3][2] = { { 0, 90 }, { 45, -45 }, { 90, 45 } };
        for (int row = 0; row < 3; ++row) {
            cells.push_back(lines({ parts[row][0] }));
            cells.push_back(lines({ parts[row][1] }));
            if (row < 2)
                cells.push_back(lines({ parts[row][0], parts[row][1] }));
        }
        return matrixItem(number, l, 3, cells,
            { lines({ 90, 45 }), lines({ 90 }), lines({ 45 }), lines({ 90, -45 }), lines({ 0, 90 }),
                lines({ 90, 45, 0 }) });
    }
    case 28: {
        for (int i = 0; i < 8; ++i)
            cells.push_back(C(i / 3 + 1, S::Arrow, Green, 0.7, (i % 3) * 90));
        return matrixItem(number, l, 3, cells,
            { C(3, S::Arrow, Green, 0.7, 180), C(3, S::Arrow, Green, 0.7, 90), C(3, S::Arrow, Green, 0.7, 270),
                C(2, S::Arrow, Green, 0.7, 180), C(3, S::Arrow, Green, 0.7, 0), C(4, S::Arrow, Green, 0.7, 180) });
    }
    case 29: {
        const Fig frames[] = { F(S::Circle, Blue, 0.88, 0, Fill::Hollow), F(S::Square, Purple, 0.92, 0, Fill::Hollow),
            F(S::Triangle, Green, 0.95, 0, Fill::Hollow) };
        const Glyph dot = glyph(S::Circle, Red, 0.17);
        auto with = [&](int frame, std::initializer_list<QPointF> places) {
            Fig fig = frames[frame];
            for (const QPointF &pt : places)
                fig.add(at(dot, pt.x(), pt.y()));
            return fig;
        };
        const double xs[] = { -0.4, 0, 0.4 };
        for (int i = 0; i < 8; ++i)
            cells.push_back(with(i / 3, { { xs[i % 3], 0.25 } }));
        return matrixItem(number, l, 3, cells,
            { with(2, { { 0.4, 0.25 } }), with(2, { { 0, 0.25 } }), with(2, { { -0.4, 0.25 } }),
                with(1, { { 0.4, 0.25 } }), with(2, { { -0.4, 0.25 }, { 0.4, 0.25 } }), with(2, { { 0, -0.3 } }) });
    }
    case 30: {
        // Each colour once in every row and every column; size grows along a row.
        const S shapes[] = { S::Star, S::Hexagon, S::Diamond };
        const QColor colours[] = { Red, Blue, Yellow };
        const double sizes[] = { 0.38, 0.6, 0.88 };
        for (int i = 0; i < 8; ++i)
            cells.push_back(F(shapes[i / 3], colours[(i / 3 + i % 3) % 3], sizes[i % 3]));
        return matrixItem(number, l, 3, cells,
            { F(S::Diamond, Blue, 0.88), F(S::Diamond, Red, 0.88), F(S::Diamond, Yellow, 0.88),
                F(S::Diamond, Blue, 0.6), F(S::Star, Blue, 0.88), F(S::Diamond, Blue, 0.38) });
    }
    case 31: {
        // One more ray per row; the whole figure turns a quarter per column.
        for (int i = 0; i < 8; ++i) {
            std::vector<double> angles;
            for (int k = 0; k <= i / 3; ++k)
                angles.push_back((i % 3) * 90 + k * 90);
            cells.push_back(rays(angles));
        }
        return matrixItem(number, l, 3, cells,
            { rays({ 180, 270, 360 }), rays({ 90, 180, 270 }), rays({ 0, 90, 180 }), rays({ 180, 270 }),
                rays({ 180, 270, 0, 90 }), rays({ 270, 0, 90 }) });
    }
    case 32: {
        const QColor colours[] = { Blue, Orange, Purple };
        const unsigned parts[3][2] = { { 1, 2 }, { 1, 4 }, { 8, 2 } };
        auto quads = [](const QColor &c, unsigned mask) {
            Glyph g = glyph(Shape::Quadrants, c, 0.95);
            g.quadrants = mask;
            return Fig().add(g);
        };
        for (int row = 0; row < 3; ++row) {
            cells.push_back(quads(colours[row], parts[row][0]));
            cells.push_back(quads(colours[row], parts[row][1]));
            if (row < 2)
                cells.push_back(quads(colours[row], parts[row][0] | parts[row][1]));
        }
        return matrixItem(number, l, 3, cells,
            { quads(Purple, 10), quads(Purple, 8), quads(Purple, 2), quads(Purple, 5), quads(Purple, 11),
                quads(Orange, 10) });
    }
    case 33: {
        const QColor colours[] = { Red, Green, Blue };
        for (int i = 0; i < 8; ++i)
            cells.push_back(F(S::Arrow, colours[i % 3], 0.8, i * 45));
        return matrixItem(number, l, 3, cells,
            { F(S::Arrow, Blue, 0.8, 0), F(S::Arrow, Blue, 0.8, 45), F(S::Arrow, Blue, 0.8, 315),
                F(S::Arrow, Red, 0.8, 0), F(S::Arrow, Blue, 0.8, 180), F(S::Arrow, Blue, 0.8, 90) });
    }
    case 34: {
        // Circles of the first figure and squares of the second come together in the third.
        auto mix = [](int circles, int squares) {
            Fig fig = counted(circles + squares, glyph(Shape::Circle, Red));
            for (int i = circles; i < circles + squares; ++i) {
                fig.glyphs[i].shape = Shape::Square;
                fig.glyphs[i].colour = Blue;
            }
            return fig;
        };
        const int parts[3][2] = { { 1, 1 }, { 2, 1 }, { 1, 2 } };
        for (int row = 0; row < 3; ++row) {
            cells.push_back(mix(parts[row][0], 0));
            cells.push_back(mix(0, parts[row][1]));
            if (row < 2)
                cells.push_back(mix(parts[row][0], parts[row][1]));
        }
        return matrixItem(number, l, 3, cells, { mix(1, 2), mix(2, 1), mix(0, 3), mix(1, 1), mix(1, 3), mix(3, 0) });
    }
    case 35: {
        // Red ray of the first figure plus blue ray of the second; each row turns a quarter.
        using Hands = std::vector<std::pair<double, QColor>>;
        for (int row = 0; row < 3; ++row) {
            const double a = row * 90;
            const double b = a + 90;
            cells.push_back(rays(Hands { { a, Red } }, Green));
            cells.push_back(rays(Hands { { b, Blue } }, Green));
            if (row < 2)
                cells.push_back(rays(Hands { { a, Red }, { b, Blue } }, Green));
        }
        return matrixItem(number, l, 3, cells,
            { rays(Hands { { 180, Red }, { 270, Blue } }, Green), rays(Hands { { 180, Blue }, { 270, Red } }, Green),
                rays(Hands { { 270, Red }, { 0, Blue } }, Green), rays(Hands { { 90, Red }, { 180, Blue } }, Green),
                rays(Hands { { 180, Red } }, Green), rays(Hands { { 180, Red }, { 270, Blue }, { 0, Red } }, Green) });
    }
    case 36: {
        // A black dot walks the corners clockwise, a red one anticlockwise.
        const QPointF corners[] = { { -0.55, -0.55 }, { 0.55, -0.55 }, { 0.55, 0.55 }, { -0.55, 0.55 } };
        const Fig frame = F(S::Square, Blue, 0.95, 0, Fill::Hollow);
        auto two = [&](int black, int red) {
            Fig fig = frame;
            if (black >= 0)
                fig.add(at(glyph(S::Circle, Ink, 0.22), corners[black].x(), corners[black].y()));
            if (red >= 0)
                fig.add(at(glyph(S::Circle, Red, 0.22), corners[red].x(), corners[red].y()));
            return fig;
        };
        for (int k = 0; k < 8; ++k)
            cells.push_back(two(k % 4, ((1 - k) % 4 + 4) % 4));
        return matrixItem(number, l, 3, cells, { two(0, 1), two(1, 0), two(2, 3), two(3, 2), two(0, 3), two(0, -1) });
    }
    }
    return {};
}

} // namespace

const std::array<int, 36> &answerKey()
{
    return Key;
}

double figureAspect(int number)
{
    return number <= 12 ? 1.5 : 1.0;
}

ItemDesign designItem(int number, const ItemLayout &layout)
{
    if (number <= 12)
        return patternItem(number, layout);
    if (number <= 24)
        return rowColumnItem(number, layout);
    return twoRuleItem(number, layout);
}
