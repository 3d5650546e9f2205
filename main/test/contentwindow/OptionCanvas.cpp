#include "test/contentwindow/OptionCanvas.h"

#include "test/content/OptionSnap.h"
#include "ui/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int Corner = 8; // px: the resize grip at the bottom-right corner
constexpr int DragStart = 3; // px before a press becomes a drag

QRect toTwips(const QRect &px)
{
    return QRect(px.x() * Twips::kPerPixel, px.y() * Twips::kPerPixel, px.width() * Twips::kPerPixel,
        px.height() * Twips::kPerPixel);
}

} // namespace

OptionCanvas::OptionCanvas(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Canvas"));
    setFixedSize(633, 421);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void OptionCanvas::setItem(const QImage &picture, const std::array<QRect, 6> &options, int key)
{
    m_picture = picture;
    m_options = options;
    for (int k = 0; k < 6; ++k) {
        if (m_options[size_t(k)].isEmpty())
            m_options[size_t(k)] = OptionSnap::defaultPlace(k);
    }
    m_key = key;
    m_drag = Drag::None;
    update();
}

void OptionCanvas::select(int option)
{
    if (option == m_selected)
        return;
    m_selected = option;
    update();
    emit selectionChanged(option);
}

QRect OptionCanvas::optionRect(int option) const
{
    return Twips::rect(m_options[size_t(option)]);
}

int OptionCanvas::optionAt(const QPoint &at) const
{
    for (int k = 0; k < 6; ++k) {
        if (optionRect(k).contains(at))
            return k;
    }
    return -1;
}

void OptionCanvas::place(const QRect &twips, bool magnet)
{
    const QRect snapped
        = OptionSnap::snap(m_selected, twips, m_options, magnet ? OptionSnap::Magnet::On : OptionSnap::Magnet::Off);
    if (snapped == m_options[size_t(m_selected)])
        return;
    m_options[size_t(m_selected)] = snapped;
    update();
    emit optionsChanged();
}

void OptionCanvas::chooseKey(int option)
{
    m_choosingKey = false;
    m_key = option + 1;
    update();
    emit keyChosen(m_key);
}

void OptionCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_picture.isNull())
        p.drawImage(rect(), m_picture);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    for (int k = 0; k < 6; ++k) {
        const QRect r = optionRect(k);
        const bool selected = k == m_selected;
        const bool key = k + 1 == m_key;
        const QColor line = key ? QColor(0, 140, 60) : selected ? QColor(20, 90, 200) : QColor(200, 60, 40);
        QColor fill = line;
        fill.setAlpha(selected ? 60 : 30);
        p.fillRect(r, fill);
        p.setPen(QPen(line, selected ? 3 : 2));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        const QRect badge(r.topLeft() + QPoint(3, 3), QSize(22, 20));
        p.fillRect(badge, line);
        p.setPen(Qt::white);
        p.drawText(badge, Qt::AlignCenter, QString::number(k + 1));
        if (selected)
            p.fillRect(QRect(r.bottomRight() - QPoint(Corner - 1, Corner - 1), QSize(Corner, Corner)), line);
    }
}

void OptionCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus();
    const QPoint at = event->position().toPoint();
    m_pressed = at;
    m_moved = false;
    const int hit = optionAt(at);
    if (hit >= 0) {
        select(hit);
        const QRect r = optionRect(hit);
        const bool corner = (r.bottomRight() - at).manhattanLength() <= Corner;
        m_drag = corner ? Drag::Resize : Drag::Move;
    } else {
        // A press beside every option draws the selected one anew.
        m_drag = m_selected >= 0 ? Drag::Draw : Drag::None;
    }
    if (m_selected >= 0)
        m_start = m_options[size_t(m_selected)];
}

void OptionCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (m_drag == Drag::None || m_selected < 0)
        return;
    const QPoint at = event->position().toPoint();
    if (!m_moved && (at - m_pressed).manhattanLength() < DragStart)
        return;
    m_moved = true;
    const QPoint delta = (at - m_pressed) * Twips::kPerPixel;
    QRect r = m_start;
    switch (m_drag) {
    case Drag::Move:
        r.translate(delta);
        break;
    case Drag::Resize:
        r.setSize(r.size() + QSize(delta.x(), delta.y()));
        break;
    case Drag::Draw:
        r = toTwips(QRect(m_pressed, at).normalized());
        break;
    case Drag::None:
        break;
    }
    place(r, true);
}

void OptionCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int hit = optionAt(event->position().toPoint());
    if (!m_moved && m_choosingKey && hit >= 0)
        chooseKey(hit);
    m_drag = Drag::None;
}

void OptionCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int hit = optionAt(event->position().toPoint());
    if (hit >= 0)
        chooseKey(hit);
}

void OptionCanvas::keyPressEvent(QKeyEvent *event)
{
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_selected < 0) {
        select(0);
        return;
    }
    QRect r = m_options[size_t(m_selected)];
    const int step = Twips::kPerPixel;
    if (event->modifiers() & Qt::ShiftModifier)
        r.setSize(r.size() + QSize(dx * step, dy * step));
    else
        r.translate(dx * step, dy * step);
    place(r, false);
}
