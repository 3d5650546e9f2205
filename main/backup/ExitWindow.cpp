#include "backup/ExitWindow.h"

#include "backup/BackupWindow.h"
#include "backup/ButtonPicture.h"
#include "backup/ExitWindowTexts.h"
#include "backup/ProgramEnd.h"
#include "ui/FixedWindow.h"
#include "ui/Fonts.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace {

namespace Text = ExitWindowTexts;

constexpr int kWidthTw = 4260;
constexpr int kHeightTw = 3120;
constexpr int kButtonTop = 2220;
constexpr int kAcceptLeft = 2460;
constexpr int kCancelLeft = 360;

} // namespace

ExitWindow::ExitWindow(std::function<void()> reloadMainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_reloadMainWindow(std::move(reloadMainWindow))
{
    SetUpFixedWindow(this, "exitpro", Text::title, kWidthTw, kHeightTw, QColor(233, 240, 235));
    setMouseTracking(true);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(24, 40, 28));
    setPalette(pal);

    Label1 = new QLabel(Text::question, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Twips::rect(360, 330, 3540, 720));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setFont(Fonts::nazanin(13, true));

    Check1 = new QCheckBox(Text::option, this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(Twips::rect(1020, 1260, 2280, 480));
    Check1->setFont(Fonts::nazanin(12));

    k1 = makePicture("k1", kAcceptLeft, QStringLiteral("exit_accept"), Text::accept, false);
    k2 = makePicture("k2", kAcceptLeft, QStringLiteral("exit_accept_hot"), Text::accept, true);
    c1 = makePicture("c1", kCancelLeft, QStringLiteral("exit_cancel"), Text::cancel, false);
    c2 = makePicture("c2", kCancelLeft, QStringLiteral("exit_cancel_hot"), Text::cancel, true);
    k2->hide();
    c2->hide();

    Timer2 = new QTimer(this);
    Timer3 = new QTimer(this);
    tmCaptionAnimate = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer3->setObjectName(QStringLiteral("Timer3"));
    tmCaptionAnimate->setObjectName(QStringLiteral("tmCaptionAnimate"));
    connect(Timer2, &QTimer::timeout, this, &ExitWindow::timer2Tick);
    connect(Timer3, &QTimer::timeout, this, &ExitWindow::timer3Tick);
    connect(tmCaptionAnimate, &QTimer::timeout, this, &ExitWindow::captionAnimateTick);
    for (QTimer *t : { Timer2, Timer3, tmCaptionAnimate })
        t->start(500);

    move(Twips::px(5000), Twips::px(4500));
}

ExitWindow::~ExitWindow()
{
    delete m_backup;
}

QLabel *ExitWindow::makePicture(
    const char *name, int left, const QString &art, const QString &caption, bool highlighted)
{
    auto *picture = new QLabel(this);
    picture->setObjectName(QLatin1String(name));
    picture->setGeometry(Twips::rect(left, kButtonTop, 1440, 525));
    picture->setPixmap(ButtonPicture(art, caption, highlighted));
    picture->setScaledContents(true);
    // Tracked so that moves over a picture never reach the background.
    picture->setMouseTracking(true);
    picture->installEventFilter(this);
    // Reachable by Tab, read out by its word, framed while it has the focus.
    picture->setFocusPolicy(Qt::StrongFocus);
    picture->setAccessibleName(caption);
    picture->setStyleSheet(QStringLiteral("QLabel:focus { border: 2px solid rgb(24, 40, 28); }"));
    return picture;
}

void ExitWindow::accept()
{
    if (Check1->checkState() != Qt::Checked) {
        ProgramEnd::now();
        return;
    }
    if (!m_backup)
        m_backup = new BackupWindow;
    // Shown before this one hides, so the program never has no window.
    m_backup->show();
    hide();
}

void ExitWindow::cancel()
{
    m_returning = true;
    if (m_reloadMainWindow)
        m_reloadMainWindow();
    close();
}

void ExitWindow::timer2Tick()
{
    setWindowTitle(Text::titleLeadingBlank);
    Timer3->start();
    Timer2->stop();
}

void ExitWindow::timer3Tick()
{
    setWindowTitle(Text::titleBackingUp);
    Timer2->start();
    Timer3->stop();
}

void ExitWindow::captionAnimateTick()
{
    if (windowTitle().size() > 1)
        Check1->setText(windowTitle());
    else
        setWindowTitle(Text::titleLeadingBlank);
}

bool ExitWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool highlighted = watched == k2 || watched == c2;
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == k1)
            swapPictures(k1, k2);
        else if (watched == c1)
            swapPictures(c1, c2);
        return true;
    case QEvent::MouseButtonPress:
        // Only the highlighted picture takes a click.
        if (highlighted && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_pressed = watched;
        return true;
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const bool click = highlighted && watched == m_pressed && mouse->button() == Qt::LeftButton
            && static_cast<QWidget *>(watched)->rect().contains(mouse->position().toPoint());
        m_pressed = nullptr;
        if (click && watched == k2)
            accept();
        else if (click)
            cancel();
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void ExitWindow::swapPictures(QLabel *shown, QLabel *replacement)
{
    // The keyboard focus stays on the button when its picture changes.
    replacement->show();
    if (shown->hasFocus())
        replacement->setFocus(Qt::OtherFocusReason);
    shown->hide();
}

void ExitWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (k2->isVisible())
        swapPictures(k2, k1);
    if (c2->isVisible())
        swapPictures(c2, c1);
    QWidget::mouseMoveEvent(event);
}

void ExitWindow::keyPressEvent(QKeyEvent *event)
{
    const QWidget *focused = focusWidget();
    const bool onCancel = focused == c1 || focused == c2;
    const bool onPicture = onCancel || focused == k1 || focused == k2;
    switch (event->key()) {
    case Qt::Key_Escape:
        cancel();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter confirms, unless the cancel button has the focus.
        onCancel ? cancel() : accept();
        return;
    case Qt::Key_Space:
        if (onPicture) {
            onCancel ? cancel() : accept();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void ExitWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    // With the main window unloaded, closing this one leaves no window.
    if (!m_returning)
        ProgramEnd::now();
}

ExitWindow *ShowExitWindow(std::function<void()> reloadMainWindow)
{
    auto *window = new ExitWindow(std::move(reloadMainWindow));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->move(Twips::px(5000), Twips::px(1500));
    return window;
}
