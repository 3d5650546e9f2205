#pragma once

#include <QElapsedTimer>
#include <QWidget>

/// An option's click region on an item picture: draws nothing, only
/// reports a click (press and release inside it).
class HotSpot : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    /// Child mode's rule: a press held this long or longer, or dragged off
    /// the option, is no click.
    static constexpr int kChildHoldMs = 1500;
    /// On: presses follow the child mode rule. Off: any press and release
    /// inside counts.
    void setChildMode(bool on) { m_childMode = on; }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
    bool m_childMode = false;
    quint64 m_pressStamp = 0;
    QElapsedTimer m_held;
};
