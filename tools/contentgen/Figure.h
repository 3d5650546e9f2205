#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <vector>

class QPainter;

enum class Shape { Circle, Square, Triangle, Diamond, Star, Hexagon, Arrow, Line, Ray, Quadrants };
enum class Fill { Solid, Hollow, Striped, Half };

/// One drawn element of a figure, in cell units: the cell's centre is (0, 0)
/// and its half side is 1, so the same figure draws at any size.
struct Glyph
{
    Shape shape = Shape::Circle;
    QColor colour;
    QPointF centre { 0, 0 };
    double radius = 0.7;
    double angle = 0; // degrees clockwise; 0 points up
    Fill fill = Fill::Solid;
    unsigned quadrants = 0; // Shape::Quadrants: bit 0 top left, 1 top right, 2 bottom right, 3 bottom left
};

/// A figure is its glyphs drawn in order (later ones on top).
struct Fig
{
    std::vector<Glyph> glyphs;

    Fig &add(const Glyph &glyph)
    {
        glyphs.push_back(glyph);
        return *this;
    }
    Fig &add(const Fig &other)
    {
        glyphs.insert(glyphs.end(), other.glyphs.begin(), other.glyphs.end());
        return *this;
    }
};

Glyph glyph(Shape shape, const QColor &colour, double radius = 0.7, double angle = 0, Fill fill = Fill::Solid);

/// `count` copies of a glyph laid out so they are easy to count: two side by
/// side, three as a triangle, four as a square.
Fig counted(int count, const Glyph &one);

void drawFig(QPainter &painter, const QRectF &cell, const Fig &fig);
