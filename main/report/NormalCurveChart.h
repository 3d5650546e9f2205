#pragma once

#include "report/IqCurve.h"

#include <QRectF>

class QPainter;

/// Draws an IQ picture (curve, bands, mark, interval, histogram) into any
/// rectangle of any painter, in the painter's own units: the same routine
/// serves a widget, the printed sheet and a PDF.
class NormalCurveChart
{
public:
    explicit NormalCurveChart(IqCurve::Picture picture)
        : m_picture(std::move(picture))
    {
    }

    void paint(QPainter &painter, const QRectF &rect) const;

    /// The plot area inside \a rect: where 40–160 and the curve lie.
    static QRectF plotRect(const QRectF &rect);
    /// The size of the texts drawn into \a rect.
    static double textSize(const QRectF &rect);

private:
    IqCurve::Picture m_picture;
};
