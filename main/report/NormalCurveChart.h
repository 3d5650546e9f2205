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
    /// Where the bands' names go: inside each band at its foot, in a strip
    /// under the scale (clear of the bars and the mark), or nowhere.
    enum class BandNames { Inside, Below, None };

    /// \a textScale sets the texts smaller (below 1) or larger.
    explicit NormalCurveChart(IqCurve::Picture picture, double textScale = 1, BandNames bandNames = BandNames::Inside)
        : m_picture(std::move(picture))
        , m_textScale(textScale)
        , m_bandNames(bandNames)
    {
    }

    void paint(QPainter &painter, const QRectF &rect) const;

    /// The plot area inside \a rect: where 40–160 and the curve lie.
    static QRectF plotRect(const QRectF &rect, double textScale = 1, BandNames bandNames = BandNames::Inside);
    /// The strip under the scale that holds the names with BandNames::Below.
    static QRectF bandNamesRect(const QRectF &rect, double textScale = 1);
    /// The size of the texts drawn into \a rect.
    static double textSize(const QRectF &rect, double textScale = 1);

private:
    IqCurve::Picture m_picture;
    double m_textScale = 1;
    BandNames m_bandNames = BandNames::Inside;
};
