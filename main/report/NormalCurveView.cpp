#include "report/NormalCurveView.h"

#include "report/NormalCurveChart.h"

#include <QPainter>

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
    NormalCurveChart(m_picture).paint(p, QRectF(rect()).adjusted(2, 2, -2, -2));
}
