#include "update/UpdateWindow.h"

#include "common/Dialogs.h"
#include "data/AppInfo.h"
#include "ui/FixedWindow.h"
#include "ui/Fonts.h"
#include "ui/Twips.h"
#include "update/UpdateRules.h"
#include "update/UpdateWindowTexts.h"
#include "update/VersionFetcher.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>

UpdateWindow::UpdateWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , Command1(new QPushButton(UpdateWindowTexts::CheckButton, this))
    , Command2(new QPushButton(UpdateWindowTexts::ExitButton, this))
    , Label1(new QLabel(this))
    , SkinLabel1(new QLabel(UpdateWindowTexts::Hint, this))
    , Inet1(new VersionFetcher(this))
    , m_programDir(QCoreApplication::applicationDirPath())
    , m_serverUrl(AppInfo::serverUrl())
    , m_major(AppInfo::versionMajor())
    , m_minor(AppInfo::versionMinor())
{
    SetUpFixedWindow(this, "FrmUpdate", QString(), 6000, 3600);
    setModal(true);
    move(Twips::px(5085), Twips::px(1745));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Twips::rect(0, 240, 6000, 600));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(Fonts::titr(16, true));

    SkinLabel1->setObjectName(QStringLiteral("SkinLabel1"));
    SkinLabel1->setGeometry(Twips::rect(420, 960, 5160, 1320));
    SkinLabel1->setWordWrap(true);
    SkinLabel1->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    SkinLabel1->setFont(Fonts::nazanin(12));

    const QFont buttonFont = Fonts::nazanin(11, true);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Twips::rect(3240, 2640, 2340, 600));
    Command1->setFont(buttonFont);
    Command1->setDefault(true);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(Twips::rect(420, 2640, 1500, 600));
    Command2->setFont(buttonFont);

    Inet1->setObjectName(QStringLiteral("Inet1"));

    setVersion(m_major, m_minor);

    connect(Command1, &QPushButton::clicked, this, &UpdateWindow::Command1Click);
    connect(Command2, &QPushButton::clicked, this, &UpdateWindow::close);
    connect(Inet1, &VersionFetcher::finished, this, &UpdateWindow::versionFetched);
}

UpdateWindow::~UpdateWindow()
{
    setBusy(false);
}

void UpdateWindow::setVersion(int major, int minor)
{
    m_major = major;
    m_minor = minor;
    const QString label = AppInfo::title() + QLatin1Char(' ') + UpdateRules::versionText(major, minor);
    setWindowTitle(label);
    Label1->setText(label);
}

void UpdateWindow::Command1Click()
{
    Command1->setEnabled(false);
    setWindowTitle(UpdateWindowTexts::PleaseWait);
    setBusy(true);
    // The fetch runs in the background so the window stays painted and can
    // be closed while it waits.
    Inet1->fetch(m_serverUrl + UpdateWindowTexts::VersionFilePath);
}

void UpdateWindow::versionFetched(const QString &text)
{
    if (UpdateRules::isNewer(text, m_major, m_minor)) {
        const QString updater = QDir(m_programDir).filePath(UpdateRules::updaterFileName());
        if (QFileInfo(updater).isFile() && QProcess::startDetached(updater, {}, m_programDir)) {
            setBusy(false);
            emit updaterStarted();
            accept();
            return;
        }
        // Without a running updater the program must not end as if it had begun.
        setBusy(false);
        Dialogs::message(this, AppInfo::title(), UpdateWindowTexts::UpdaterNotStarted + updater, QMessageBox::Ok,
            Dialogs::Icon::Critical);
    } else {
        setBusy(false);
        Dialogs::message(
            this, AppInfo::title(), UpdateWindowTexts::UpToDate, QMessageBox::Ok, Dialogs::Icon::Information);
    }
    setWindowTitle(UpdateRules::versionText(m_major, m_minor));
    Command1->setEnabled(true);
}

void UpdateWindow::done(int result)
{
    // Closing while the fetch runs: drop it, so no answer arrives later.
    Inet1->abort();
    setBusy(false);
    QDialog::done(result);
}

void UpdateWindow::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
