#include "mainwindow/MainWindow.h"

#include "data/AppInfo.h"
#include "data/AppPaths.h"
#include "data/DataFolderTexts.h"
#include "data/Database.h"
#include "data/RecordSource.h"
#include "mainwindow/CreditsBox.h"
#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/registration/RegistrationPanel.h"
#include "mainwindow/settings/SettingsPanel.h"
#include "ui/FixedWindow.h"
#include "ui/Fonts.h"
#include "ui/ReadFailures.h"
#include "ui/Style.h"
#include "ui/Twips.h"
#include "ui/WebLinks.h"
#include "ui/WrapButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QRegion>
#include <QTimer>
#include <QToolButton>

namespace {

namespace Text = MainWindowTexts;

// Client 9270 x 7725 twips. The window has no frame: it is as much taller as
// a title bar would be, the client sits below that band, and the ellipse
// spans the whole window, as it spanned the framed one.
constexpr int kWidthTw = 9270;
constexpr int kHeightTw = 7725;
constexpr int kTitleBarTw = 450;

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    SetUpFixedWindow(this, "Frm0", AppInfo::title(), kWidthTw, kHeightTw + kTitleBarTw, QColor(196, 214, 200));
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setGeometry(0, Twips::px(kTitleBarTw), Twips::px(kWidthTw), Twips::px(kHeightTw));
    setAttribute(Qt::WA_DeleteOnClose, false);

    QPalette pal = m_client->palette();
    const QPixmap background(QDir(AppPaths::contentDir()).filePath(QStringLiteral("art/main_background.png")), "PNG");
    if (!background.isNull())
        pal.setBrush(
            QPalette::Window, background.scaled(m_client->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    else
        pal.setColor(QPalette::Window, QColor(214, 226, 218));
    m_client->setPalette(pal);
    m_client->setAutoFillBackground(true);

    // Record sources exist from creation; load() opens them.
    for (RecordSource **s : { &Adodc1, &Adodc2, &Adodc3, &Adodc4, &Adodc5 })
        *s = new RecordSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    Adodc2->setObjectName(QStringLiteral("Adodc2"));
    Adodc3->setObjectName(QStringLiteral("Adodc3"));
    Adodc4->setObjectName(QStringLiteral("Adodc4"));
    Adodc5->setObjectName(QStringLiteral("Adodc5"));
    ShowReadFailures(this, { Adodc1, Adodc2, Adodc3, Adodc4, Adodc5 });

    SkinLabel9 = new QLabel(m_client);
    SkinLabel9->setObjectName(QStringLiteral("SkinLabel9"));
    SkinLabel9->setAlignment(Qt::AlignCenter);
    SkinLabel9->setFont(Fonts::arial(10, true));
    SkinLabel9->setStyleSheet(QStringLiteral("color: rgb(40, 64, 46); background: transparent;"));

    CmdHelp = new QToolButton(m_client);
    CmdHelp->setText(Text::help);
    CmdHelp->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    CmdHelp->setObjectName(QStringLiteral("CmdHelp"));
    CmdHelp->setToolTip(Text::helpTip);
    CmdHelp->setGeometry(Twips::rect(1755, 540, 855, 855));
    const QPixmap helpFace(QDir(AppPaths::contentDir()).filePath(QStringLiteral("art/help_button.png")), "PNG");
    if (!helpFace.isNull()) {
        CmdHelp->setIcon(helpFace);
        CmdHelp->setIconSize(QSize(34, 34));
    }
    CmdHelp->setStyleSheet(QStringLiteral(
        "QToolButton { background-color: rgb(192, 255, 192); border: 1px solid rgb(90, 130, 90); border-radius: 4px; }"
        "QToolButton:pressed { background-color: rgb(170, 235, 170); }"));
    connect(CmdHelp, &QToolButton::clicked, this, [] { WebLinks::open(WebLinks::helpPage()); });

    Picture1 = new CreditsBox(9015, 3270, m_client);

    Command3 = makeButton("Command3", 975, 1020, Text::start, Text::startTip);
    Command6 = makeButton("Command6", 2115, 1785, Text::details, Text::detailsTip);
    Command2 = makeButton("Command2", 4020, 1020, Text::registration, Text::registrationTip);
    Command7 = makeButton("Command7", 5160, 930, Text::settings, Text::settingsTip);
    Command9 = makeButton("Command9", 6195, 1260, Text::update, QString());
    Command1 = makeButton("Command1", 7545, 885, Text::exit, QString());

    connect(Command3, &QPushButton::clicked, this, &MainWindow::startTestRequested);
    connect(Command6, &QPushButton::clicked, this, &MainWindow::recordsRequested);
    connect(Command2, &QPushButton::clicked, this, [this] { showArea(Area::Registration); });
    connect(Command7, &QPushButton::clicked, this, [this] { showArea(Area::Settings); });
    connect(Command9, &QPushButton::clicked, this, &MainWindow::updateRequested);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::exitAction);
}

MainWindow::~MainWindow() = default;

WrapButton *MainWindow::makeButton(const char *name, int left, int width, const QString &caption, const QString &tip)
{
    auto *b = new WrapButton(caption, m_client);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(Twips::rect(left, 4770, width, 1050));
    b->setToolTip(tip);
    b->setFont(Fonts::nazanin(12, true));
    b->setStyleSheet(Style::pinkButtons());
    return b;
}

bool MainWindow::load(QString *error)
{
    move(Twips::px(2640), Twips::px(20));
    // The ellipse inscribed in (10, 0)-(w, h), in pixels of the outer window.
    const int w = width();
    const int h = height();
    setMask(QRegion(QRect(10, 0, w - 10, h), QRegion::Ellipse));

    // The examinee sources open empty (keyed on no code): each use reads
    // what it needs, so the window shows as fast with 100,000 examinees as
    // with ten.
    if (!OpenRecordSources({ { Adodc1, Database::File::Examinee, "IDE", "Code", QString() },
                               { Adodc2, Database::File::Examinee, "IDE", "Code", QString() },
                               { Adodc3, Database::File::Examinee, "Answer", "Code", QString() },
                               { Adodc4, Database::File::Theme, "Theme" },
                               { Adodc5, Database::File::Examinee, "IDE", "Code", QString() } },
            error))
        return false;

    Picture1->setGeometry(Twips::rect(220, 1440, 9015, 3270));
    Picture1->raise();

    SkinLabel9->setText(AppInfo::versionLabel());
    SkinLabel9->setToolTip(DataFolderText::dataFolderTip.arg(QDir::toNativeSeparators(AppPaths::dataDir())));
    SkinLabel9->adjustSize();
    SkinLabel9->move(Twips::px(4530), Twips::px(45));
    SkinLabel9->raise(); // stays readable above the settings panel's top edge

    m_loaded = true;
    showArea(Area::Credits);
    return true;
}

void MainWindow::ensurePanels()
{
    if (Frame1 || !m_loaded)
        return;
    Frame1 = new RegistrationPanel(m_client, Adodc1, Adodc2, Adodc3, Adodc5);
    Frame9 = new SettingsPanel(m_client, Adodc4, &m_clinic);
    Frame1->setGeometry(Twips::rect(950, 1440, 7515, 3270));
    Frame9->setGeometry(Twips::rect(870, 135, 6660, 4590));
    Frame1->hide();
    Frame9->hide();
    SkinLabel9->raise();
    connect(Frame1, &RegistrationPanel::closed, this, [this] { showArea(Area::Credits); });
    connect(Frame9, &SettingsPanel::closed, this, [this] { showArea(Area::Credits); });
    connect(Frame9, &SettingsPanel::contentRequested, this, &MainWindow::contentRequested);
    connect(this, &MainWindow::activated, Frame9, &SettingsPanel::windowActivated);
    Frame1->windowLoaded();
    Frame9->windowLoaded();
    // The activation that came before the panels were built.
    if (isActiveWindow())
        Frame9->windowActivated();
}

void MainWindow::afterFirstFrame()
{
    const QIcon icon(QDir(AppPaths::contentDir()).filePath(QStringLiteral("art/app_icon.png")));
    if (!icon.isNull())
        setWindowIcon(icon);
    ensurePanels();
}

RegistrationPanel *MainWindow::registrationPanel()
{
    ensurePanels();
    return Frame1;
}

SettingsPanel *MainWindow::settingsPanel()
{
    ensurePanels();
    return Frame9;
}

ClinicValues &MainWindow::clinicValues()
{
    ensurePanels();
    return m_clinic;
}

void MainWindow::showArea(Area area)
{
    m_area = area;
    if (area != Area::Credits)
        ensurePanels();
    Picture1->setVisible(area == Area::Credits);
    if (!Frame1)
        return;
    Frame1->setVisible(area == Area::Registration);
    Frame9->setVisible(area == Area::Settings);
    if (area == Area::Registration)
        Frame1->opened();
    else if (area == Area::Settings)
        Frame9->opened();
}

void MainWindow::exitAction()
{
    if (m_unloading)
        return;
    m_unloading = true;
    if (isSignalConnected(QMetaMethod::fromSignal(&MainWindow::exitRequested))) {
        Q_EMIT exitRequested();
        // Unload: the record sources and the scroller go with the window.
        hide();
        deleteLater();
    } else {
        QApplication::quit();
    }
}

bool MainWindow::event(QEvent *event)
{
    // Whatever the first frame does not need comes right after it.
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        QTimer::singleShot(0, this, &MainWindow::afterFirstFrame);
    }
    return QWidget::event(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_unloading) {
        event->accept();
        return;
    }
    event->ignore();
    exitAction();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Q_EMIT activated();
    QWidget::changeEvent(event);
}

// Without a title bar the window is moved by dragging its background.
void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragFrom = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QWidget::mousePressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton && !m_dragFrom.isNull())
        move(event->globalPosition().toPoint() - m_dragFrom);
    QWidget::mouseMoveEvent(event);
}
