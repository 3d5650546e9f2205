#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <vector>

class QPainter;

/// One layer of a continuous pattern. Every layer is a function of the
/// absolute position (twips), so a cut-out piece is the same drawing seen
/// through a smaller window.
struct Layer
{
    enum Kind { Plain, Stripes, Checks, Dots, Waves, Lattice, Bricks, Rings };
    Kind kind = Plain;
    std::vector<QColor> colours; // Stripes, Rings: the repeating bands; others: [0] main, [1] ground
    double size = 180; // band width, check side, dot spacing, wave or lattice spacing, brick height
    double size2 = 0; // dot row spacing, wave length, brick length
    double radius = 0; // dot radius, line width, brick gap
    double amplitude = 0; // Waves
    double angle = 0; // degrees
    bool stagger = false; // Dots: odd rows shifted by half; Bricks: odd rows shifted
    bool square = false; // Dots: squares instead of discs; Waves: zigzag
    bool ring = false; // Dots: rings instead of discs
    QPointF shift { 0, 0 }; // moves the whole layer (wrong phase)
    QPointF centre { 0, 0 }; // Rings
};

using Pattern = std::vector<Layer>;

void drawPattern(QPainter &painter, const QRectF &area, const Pattern &pattern);

/// Draws the part of `pattern` that lies at `source` into `target` (same size).
void drawPiece(QPainter &painter, const QRectF &target, const QPointF &source, const Pattern &pattern);
