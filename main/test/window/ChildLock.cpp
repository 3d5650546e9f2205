#include "test/window/ChildLock.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// The colour round the edge of the window's background picture, or its
// plain colour: the backdrop continues the window without a seam.
QColor backgroundColour(const QWidget *window)
{
    const QBrush brush = window->palette().brush(QPalette::Window);
    const QImage picture = brush.textureImage().isNull() ? brush.texture().toImage() : brush.textureImage();
    if (picture.isNull())
        return brush.color();
    qint64 r = 0, g = 0, b = 0, n = 0;
    const auto add = [&](int x, int y) {
        const QColor c = picture.pixelColor(x, y);
        r += c.red();
        g += c.green();
        b += c.blue();
        ++n;
    };
    for (int x = 0; x < picture.width(); ++x) {
        add(x, 0);
        add(x, picture.height() - 1);
    }
    for (int y = 1; y < picture.height() - 1; ++y) {
        add(0, y);
        add(picture.width() - 1, y);
    }
    return QColor(int(r / n), int(g / n), int(b / n));
}

// A click on the backdrop brings the test window back to the front.
class Backdrop : public QWidget
{
public:
    explicit Backdrop(QWidget *front)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
        , m_front(front)
    {
        setObjectName(QStringLiteral("ChildBackdrop"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::ArrowCursor);
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        m_front->raise();
        m_front->activateWindow();
    }

private:
    QWidget *m_front;
};

} // namespace

ChildLock::ChildLock(QWidget *window, const QList<QWidget *> &optionArea)
    : QObject(window)
    , m_window(window)
    , m_optionArea(optionArea)
{
}

ChildLock::~ChildLock()
{
    if (m_active)
        qApp->removeEventFilter(this);
}

QWidget *ChildLock::backdrop() const
{
    return m_active ? m_backdrop.get() : nullptr;
}

void ChildLock::begin()
{
    if (m_active)
        return;
    m_active = true;
    qApp->installEventFilter(this);
    QScreen *screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    if (!m_backdrop)
        m_backdrop = std::make_unique<Backdrop>(m_window);
    QPalette pal = m_backdrop->palette();
    pal.setColor(QPalette::Window, backgroundColour(m_window));
    m_backdrop->setPalette(pal);
    m_backdrop->setAutoFillBackground(true);
    // Full screen, so that a window manager puts it over its panels too.
    m_backdrop->setGeometry(area);
    m_backdrop->setWindowState(Qt::WindowFullScreen);
    m_backdrop->show();
    // Above the backdrop for the window manager, and at once for a screen
    // without one.
    if (m_window->windowHandle() && m_backdrop->windowHandle())
        m_window->windowHandle()->setTransientParent(m_backdrop->windowHandle());
    m_position = m_window->pos();
    const QRect frame = m_window->frameGeometry();
    m_window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
    m_window->raise();
    m_window->activateWindow();
}

void ChildLock::end()
{
    if (!m_active)
        return;
    m_active = false;
    qApp->removeEventFilter(this);
    if (m_window->windowHandle())
        m_window->windowHandle()->setTransientParent(nullptr);
    m_backdrop->hide();
    m_window->move(m_position);
}

namespace {

bool inside(QObject *object, const QWidget *area)
{
    for (auto *w = qobject_cast<QWidget *>(object); w && area; w = w->parentWidget()) {
        if (w == area)
            return true;
    }
    return false;
}

} // namespace

bool ChildLock::inOptionArea(QObject *object) const
{
    return std::any_of(m_optionArea.cbegin(), m_optionArea.cend(), [object](QWidget *w) { return inside(object, w); });
}

bool ChildLock::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    bool swallow = inside(watched, m_backdrop.get());
    if (!swallow && inside(watched, m_window)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool leaving
            = key->key() == Qt::Key_Escape || (key->key() == Qt::Key_F4 && key->modifiers().testFlag(Qt::AltModifier));
        swallow = leaving || inOptionArea(watched);
    }
    // Claimed before any shortcut can take it, then dropped.
    if (swallow && type == QEvent::ShortcutOverride)
        event->accept();
    return swallow;
}
