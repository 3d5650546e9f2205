#include "test/window/HotSpot.h"

#include <QMouseEvent>

void HotSpot::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    m_pressStamp = event->timestamp();
    m_held.start();
}

void HotSpot::mouseMoveEvent(QMouseEvent *event)
{
    // Once dragged off the option the press is spent, even if it comes back.
    if (m_childMode && m_pressed && !rect().contains(event->position().toPoint()))
        m_pressed = false;
}

void HotSpot::mouseReleaseEvent(QMouseEvent *event)
{
    bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (click && m_childMode) {
        // By the events' own times, so a short press that waited in the
        // queue behind a slow store still counts; by the clock when the
        // events carry none.
        const quint64 stamp = event->timestamp();
        const qint64 held = m_pressStamp && stamp >= m_pressStamp ? qint64(stamp - m_pressStamp) : m_held.elapsed();
        click = held < kChildHoldMs;
    }
    m_pressed = false;
    if (click)
        Q_EMIT clicked();
}
