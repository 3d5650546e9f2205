#include "report/NormalCurveView.h"

#include "report/NormalCurveChart.h"

#include <QPainter>

namespace {

// Text size in pixels below which band names cannot be read on screen.
constexpr double kSmallestNames = 11;

} // namespace

NormalCurveView::NormalCurveView(QWidget *parent)
    : QWidget(parent)
{
}

void NormalCurveView::setPicture(const IqCurve::Picture &picture)
{
    m_picture = picture;
    update();
}

void NormalCurveView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(250, 248, 242));
    const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
    // Band names too small to read are left out; the colours still show the bands.
    const bool readable = NormalCurveChart::textSize(area) >= kSmallestNames;
    NormalCurveChart(m_picture, 1, readable ? NormalCurveChart::BandNames::Below : NormalCurveChart::BandNames::None)
        .paint(p, area);
}
