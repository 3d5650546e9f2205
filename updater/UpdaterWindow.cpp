#include "updater/UpdaterWindow.h"

#include "common/Dialogs.h"
#include "updater/FileDownloader.h"
#include "updater/SetupUpdate.h"
#include "updater/SignatureCheck.h"
#include "updater/UpdaterRules.h"
#include "updater/UpdaterWindowTexts.h"

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

UpdaterWindow::UpdaterWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , Label3(new QLabel(UpdaterWindowTexts::Product, this))
    , Label2 { new QLabel(this), new QLabel(this) }
    , ProgressBar(new QProgressBar(this))
    , Label4(new QLabel(QStringLiteral("0"), this))
    , cmdUpdate(new QPushButton(UpdaterWindowTexts::Download, this))
    , Command1(new QPushButton(UpdaterWindowTexts::Exit, this))
    , Timer1(new QTimer(this))
    , FileDownloader(new ::FileDownloader(this))
    , Text(new QLineEdit(QStringLiteral(PELORIN_SERVER_URL) + UpdaterWindowTexts::SetupPath, this))
    , Label1(new QLabel(UpdaterWindowTexts::AddressLabel, this))
    , m_update(new SetupUpdate(FileDownloader, this))
    , m_programDir(QCoreApplication::applicationDirPath())
{
    setObjectName(QStringLiteral("Progress"));
    setWindowTitle(UpdaterWindowTexts::Title);
    setLayoutDirection(Qt::RightToLeft);
    setFixedSize(twips(8400), twips(2900));
    move(twips(2475), twips(1620));

    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(0, 6, width(), 40);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setFont(sized(font(), 20, true));

    const QString host = QUrl(QStringLiteral(PELORIN_SERVER_URL)).host();
    const QString domain = host.startsWith(QStringLiteral("www.")) ? host.mid(4) : host;
    Label2[0]->setText(UpdaterWindowTexts::EmailPrefix + domain);
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
    Text->setFocusPolicy(Qt::NoFocus); // a hidden carrier of the address
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(430, 240, 100, 24);
    Label1->hide();

    FileDownloader->setObjectName(QStringLiteral("FileDownloader"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->start(1000);

    connect(cmdUpdate, &QPushButton::clicked, this, &UpdaterWindow::cmdUpdateClick);
    connect(Command1, &QPushButton::clicked, this, &UpdaterWindow::endUpdater);
    connect(Timer1, &QTimer::timeout, this, [this] { Label4->setText(QString::number(ProgressBar->value())); });
    m_update->setPublicKey(SignatureCheck::publicKeyFromHex(PELORIN_UPDATE_PUBLIC_KEY));
    connect(m_update, &SetupUpdate::DownloadErrors, this, &UpdaterWindow::showError);
    connect(FileDownloader, &::FileDownloader::DownloadProgress, this, &UpdaterWindow::setProgress);

    loadArt();
}

void UpdaterWindow::setProgramDir(const QString &dir)
{
    m_programDir = dir;
    loadArt();
}

void UpdaterWindow::setPublicKey(const QByteArray &key)
{
    m_update->setPublicKey(key);
}

QString UpdaterWindow::destination() const
{
    return QDir(m_programDir).filePath(UpdaterRules::GetFileName(Text->text()));
}

void UpdaterWindow::cmdUpdateClick()
{
    if (cmdUpdate->text() != UpdaterWindowTexts::Download) {
        // Pressed inside the running download.
        m_update->cancel();
        ProgressBar->setValue(0);
        cmdUpdate->setText(UpdaterWindowTexts::Download);
        return;
    }
    // No file name means no place to save to; the shipped address has one.
    if (UpdaterRules::GetFileName(Text->text()).isEmpty())
        return;
    cmdUpdate->setText(UpdaterWindowTexts::CancelDownload);
    ProgressBar->setValue(0);
    const SetupUpdate::Outcome outcome = m_update->run(Text->text(), destination());
    cmdUpdate->setText(UpdaterWindowTexts::Download);
    if (outcome == SetupUpdate::Outcome::Ready)
        downloadComplete();
    else if (outcome == SetupUpdate::Outcome::NotVerified)
        notVerified();
}

void UpdaterWindow::notVerified()
{
    Dialogs::message(this, UpdaterWindowTexts::ErrorTitle, UpdaterWindowTexts::NotVerified, QMessageBox::Ok,
        Dialogs::Icon::Critical);
    cmdUpdate->setText(UpdaterWindowTexts::Download);
    ProgressBar->setValue(0);
}

void UpdaterWindow::showError(const QString &message)
{
    Dialogs::message(this, UpdaterWindowTexts::ErrorTitle, message, QMessageBox::Ok, Dialogs::Icon::Critical);
    cmdUpdate->setText(UpdaterWindowTexts::Download);
    ProgressBar->setValue(0);
    FileDownloader->Cancel();
}

void UpdaterWindow::downloadComplete()
{
    Dialogs::message(this, UpdaterWindowTexts::SuccessTitle, UpdaterWindowTexts::SuccessText, QMessageBox::Ok,
        Dialogs::Icon::Information);
    cmdUpdate->setText(UpdaterWindowTexts::Download);
    ProgressBar->setValue(0);
    const QString setup = QDir(m_programDir).filePath(UpdaterWindowTexts::SetupFile);
    if (!QProcess::startDetached(setup, {}, m_programDir))
        Dialogs::message(this, UpdaterWindowTexts::ErrorTitle, UpdaterWindowTexts::SetupStartFailed + setup,
            QMessageBox::Ok, Dialogs::Icon::Critical);
    endUpdater();
}

void UpdaterWindow::setProgress(const QString &percent)
{
    ProgressBar->setValue(UpdaterRules::barValue(percent));
}

void UpdaterWindow::endUpdater()
{
    close();
}

void UpdaterWindow::closeEvent(QCloseEvent *event)
{
    // Leaving mid-way cancels the download, which removes the partial file.
    if (FileDownloader->isDownloading())
        m_update->cancel();
    Timer1->stop();
    event->accept();
    if (!m_ended) {
        m_ended = true;
        emit ended();
    }
}

void UpdaterWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_background.isNull())
        painter.drawPixmap(rect(), m_background);
    else
        painter.fillRect(rect(), QColor(0xF2, 0xF5, 0xFA));
}

void UpdaterWindow::loadArt()
{
    const QDir art(QDir(m_programDir).filePath(QStringLiteral("content/art")));
    m_background.load(art.filePath(QStringLiteral("updater_background.png")));
    const QPixmap icon(art.filePath(QStringLiteral("updater_icon.png")));
    if (!icon.isNull())
        setWindowIcon(QIcon(icon));
}
