#include "Progress.h"

#include "FileDownloader.h"
#include "ProgressTexts.h"
#include "UpdaterDialogs.h"
#include "UpdaterRules.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int twips(int value)
{
    return value / 15;
}

QFont sized(QFont font, int pointSize, bool bold)
{
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

Progress::Progress(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , Label3(new QLabel(ProgressTexts::Product, this))
    , Label2 { new QLabel(this), new QLabel(this) }
    , ProgressBar(new QProgressBar(this))
    , Label4(new QLabel(QStringLiteral("0"), this))
    , cmdUpdate(new QPushButton(ProgressTexts::Download, this))
    , Command1(new QPushButton(ProgressTexts::Exit, this))
    , Timer1(new QTimer(this))
    , FileDownloader(new ::FileDownloader(this))
    , Text(new QLineEdit(QStringLiteral(PELORIN_SERVER_URL) + ProgressTexts::SetupPath, this))
    , Label1(new QLabel(ProgressTexts::AddressLabel, this))
    , m_programDir(QCoreApplication::applicationDirPath())
{
    setObjectName(QStringLiteral("Progress"));
    setWindowTitle(ProgressTexts::Title);
    setLayoutDirection(Qt::RightToLeft);
    setFixedSize(twips(8400), twips(2900));
    move(twips(2475), twips(1620));

    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(0, 6, width(), 40);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setFont(sized(font(), 20, true));

    const QString host = QUrl(QStringLiteral(PELORIN_SERVER_URL)).host();
    const QString domain = host.startsWith(QStringLiteral("www.")) ? host.mid(4) : host;
    Label2[0]->setText(ProgressTexts::EmailPrefix + domain);
    Label2[1]->setText(host);
    for (int i = 0; i < 2; ++i) {
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        Label2[i]->setGeometry(140, 104 + 22 * i, width() - 280, 20);
        Label2[i]->setAlignment(Qt::AlignCenter);
        Label2[i]->setLayoutDirection(Qt::LeftToRight);
    }

    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(20, 60, 420, 26);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setLayoutDirection(Qt::LeftToRight);

    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(448, 48, 100, 48);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setFont(sized(font(), 22, true));
    Label4->setStyleSheet(QStringLiteral("color: magenta;"));

    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    cmdUpdate->setGeometry(width() - 20 - 110, 104, 110, 34);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(20, 104, 110, 34);

    // Below the part of the window that is in view, and hidden anyway.
    Text->setObjectName(QStringLiteral("Text"));
    Text->setGeometry(20, 240, 400, 24);
    Text->hide();
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(430, 240, 100, 24);
    Label1->hide();

    FileDownloader->setObjectName(QStringLiteral("FileDownloader"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->start(1000);

    connect(cmdUpdate, &QPushButton::clicked, this, &Progress::cmdUpdateClick);
    connect(Command1, &QPushButton::clicked, this, &Progress::endUpdater);
    connect(Timer1, &QTimer::timeout, this, [this] { Label4->setText(QString::number(ProgressBar->value())); });
    connect(FileDownloader, &::FileDownloader::DownloadErrors, this, &Progress::showError);
    connect(FileDownloader, &::FileDownloader::DowloadComplete, this, &Progress::downloadComplete);
    connect(FileDownloader, &::FileDownloader::DownloadProgress, this, &Progress::setProgress);

    loadArt();
}

void Progress::setProgramDir(const QString &dir)
{
    m_programDir = dir;
    loadArt();
}

QString Progress::destination() const
{
    return QDir(m_programDir).filePath(UpdaterRules::GetFileName(Text->text()));
}

void Progress::cmdUpdateClick()
{
    if (cmdUpdate->text() != ProgressTexts::Download) {
        // Pressed inside the running download.
        FileDownloader->Cancel();
        ProgressBar->setValue(0);
        cmdUpdate->setText(ProgressTexts::Download);
        return;
    }
    // No file name means no place to save to; the shipped address has one.
    if (UpdaterRules::GetFileName(Text->text()).isEmpty())
        return;
    cmdUpdate->setText(ProgressTexts::CancelDownload);
    ProgressBar->setValue(0);
    FileDownloader->DownloadFile(Text->text(), destination());
    cmdUpdate->setText(ProgressTexts::Download);
}

void Progress::showError(const QString &message)
{
    UpdaterDialogs::message(this, ProgressTexts::ErrorTitle, message, QMessageBox::Ok, UpdaterDialogs::Icon::Critical);
    cmdUpdate->setText(ProgressTexts::Download);
    ProgressBar->setValue(0);
    FileDownloader->Cancel();
}

void Progress::downloadComplete()
{
    UpdaterDialogs::message(this, ProgressTexts::SuccessTitle, ProgressTexts::SuccessText, QMessageBox::Ok,
        UpdaterDialogs::Icon::Information);
    cmdUpdate->setText(ProgressTexts::Download);
    ProgressBar->setValue(0);
    const QString setup = QDir(m_programDir).filePath(ProgressTexts::SetupFile);
    if (!QProcess::startDetached(setup, {}, m_programDir))
        UpdaterDialogs::message(this, ProgressTexts::ErrorTitle, ProgressTexts::SetupStartFailed + setup,
            QMessageBox::Ok, UpdaterDialogs::Icon::Critical);
    endUpdater();
}

void Progress::setProgress(const QString &percent)
{
    ProgressBar->setValue(UpdaterRules::barValue(percent));
}

void Progress::endUpdater()
{
    close();
}

void Progress::closeEvent(QCloseEvent *event)
{
    // Leaving mid-way cancels the download, which removes the partial file.
    if (FileDownloader->isDownloading())
        FileDownloader->Cancel();
    Timer1->stop();
    event->accept();
}

void Progress::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_background.isNull())
        painter.drawPixmap(rect(), m_background);
    else
        painter.fillRect(rect(), QColor(0xF2, 0xF5, 0xFA));
}

void Progress::loadArt()
{
    const QDir art(QDir(m_programDir).filePath(QStringLiteral("content/art")));
    m_background.load(art.filePath(QStringLiteral("updater_background.png")));
    const QPixmap icon(art.filePath(QStringLiteral("updater_icon.png")));
    if (!icon.isNull())
        setWindowIcon(QIcon(icon));
}
