#pragma once

#include "report/IqCurve.h"

#include <QWidget>

/// A widget that shows one IQ picture, drawn to its size.
class NormalCurveView : public QWidget
{
public:
    explicit NormalCurveView(QWidget *parent = nullptr);
    void setPicture(const IqCurve::Picture &picture);
    const IqCurve::Picture &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    IqCurve::Picture m_picture;
};
