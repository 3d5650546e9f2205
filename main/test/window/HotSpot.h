#pragma once

#include <QWidget>

/// An option's click region on an item picture: draws nothing, only
/// reports a click (press and release inside it).
class HotSpot : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
