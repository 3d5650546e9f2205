#include "backup/BackupWindow.h"

#include "backup/Backup.h"
#include "backup/BackupWindowTexts.h"
#include "backup/CopyBackupFile.h"
#include "backup/ProgramEnd.h"
#include "calendar/Clock.h"
#include "common/Dialogs.h"
#include "data/AppInfo.h"
#include "data/AppPaths.h"
#include "data/Database.h"
#include "ui/FixedWindow.h"
#include "ui/Fonts.h"
#include "ui/Style.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

namespace Text = BackupWindowTexts;

constexpr int kWidthTw = 6900;
constexpr int kHeightTw = 2940;

} // namespace

BackupWindow::BackupWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    SetUpFixedWindow(this, "Frmbackup", Text::title, kWidthTw, kHeightTw, QColor(81, 128, 91));

    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Label3 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    for (QLabel *holder : { Label1, Label2, Label3 })
        holder->hide();

    VisualButtonEx2 = makeButton("VisualButtonEx2", Text::backup, QRect(5235, 360, 1425, 495));
    Text1 = makePathBox("Text1", QRect(915, 390, 4170, 435));
    b1 = makeButton("b1", Text::choose, QRect(240, 360, 540, 495));
    VisualButtonEx3 = makeButton("VisualButtonEx3", Text::restore, QRect(5235, 1125, 1425, 495));
    Text2 = makePathBox("Text2", QRect(915, 1155, 4170, 435));
    b2 = makeButton("b2", Text::choose, QRect(240, 1125, 540, 495));
    Command1 = makeButton("Command1", Text::exit, QRect(2880, 1995, 1140, 540));
    Command1->setFont(Fonts::nazanin(12, true));
    Text1->setAccessibleName(Text::backupPathName);
    Text2->setAccessibleName(Text::restorePathName);
    b1->setAccessibleName(Text::chooseBackupName);
    b2->setAccessibleName(Text::chooseRestoreName);

    connect(b1, &QPushButton::clicked, this, &BackupWindow::chooseBackupFile);
    connect(b2, &QPushButton::clicked, this, &BackupWindow::chooseRestoreFile);
    connect(VisualButtonEx2, &QPushButton::clicked, this, &BackupWindow::backup);
    connect(VisualButtonEx3, &QPushButton::clicked, this, &BackupWindow::restore);
    connect(Command1, &QPushButton::clicked, this, [] { ProgramEnd::now(); });

    // Load: placement, then the holders; the clock keeps the time current.
    move(Twips::px(2340), Twips::px(765));
    clockTick();
    Label1->setText(Backup::dateText(Clock::now()));
    Label3->setText(Label1->text());
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &BackupWindow::clockTick);
    Timer1->start(1000);
}

QPushButton *BackupWindow::makeButton(const char *name, const QString &caption, const QRect &twips)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(Twips::rect(twips));
    button->setFont(Fonts::arial(10, true));
    button->setStyleSheet(Style::pinkButtons(5));
    return button;
}

QLineEdit *BackupWindow::makePathBox(const char *name, const QRect &twips)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(Twips::rect(twips));
    // Paths read left to right, whatever the window's direction.
    box->setLayoutDirection(Qt::LeftToRight);
    return box;
}

QString BackupWindow::proposedName() const
{
    return Backup::proposedName(Label3->text(), Label2->text());
}

void BackupWindow::clockTick()
{
    Label2->setText(Backup::timeText(Clock::now().time()));
}

void BackupWindow::chooseBackupFile()
{
    QDir().mkpath(AppPaths::backupDir());
    m_dialogFileName = proposedName();
    const QString chosen
        = Dialogs::saveFile(this, QString(), QDir(AppPaths::backupDir()).filePath(m_dialogFileName), Text::filter);
    // A cancelled dialog still carries the proposed name, without folder.
    if (!chosen.isEmpty())
        m_dialogFileName = chosen;
    if (!m_dialogFileName.isEmpty())
        Text1->setText(m_dialogFileName);
}

void BackupWindow::chooseRestoreFile()
{
    QDir().mkpath(AppPaths::backupDir());
    const QString chosen = Dialogs::openFile(this, QString(), AppPaths::backupDir(), Text::filter);
    // After a cancel the name left from the dialog's last use.
    if (!chosen.isEmpty())
        m_dialogFileName = chosen;
    if (!m_dialogFileName.isEmpty())
        Text2->setText(m_dialogFileName);
}

void BackupWindow::backup()
{
    if (m_copying)
        return;
    const QString destination = Text1->text();
    if (destination.isEmpty()) {
        Dialogs::message(this, Text::error, Text::backupPathEmpty, QMessageBox::Ok, Dialogs::Icon::Warning);
        return;
    }
    // Asked about the file that would be replaced, also when the path was typed.
    if (QFileInfo::exists(destination)
        && Dialogs::message(this, AppInfo::title(), Text::replaceQuestion, QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes) {
        Dialogs::message(this, AppInfo::title(), Text::backupNotDone, QMessageBox::Ok, Dialogs::Icon::Information);
        return;
    }
    setCopying(true);
    // The copy must see the whole database, not one with open connections.
    Database::closeAll();
    const bool copied = CopyBackupFile(AppPaths::examineeDatabase(), destination, this);
    setCopying(false);
    if (!copied)
        return;
    Dialogs::message(this, AppInfo::title(), Text::backupDone);
    // The disk writes the copy while the message is read; the program only
    // ends once it has, and stays for another try if the disk failed it.
    if (!WaitForBackupOnDisk(destination, this))
        return;
    ProgramEnd::now();
}

void BackupWindow::restore()
{
    if (m_copying)
        return;
    const QString source = Text2->text();
    if (source.isEmpty()) {
        Dialogs::message(this, Text::error, Text::restorePathEmpty, QMessageBox::Ok, Dialogs::Icon::Warning);
        return;
    }
    if (Dialogs::message(this, AppInfo::title(), Text::restoreQuestion, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes) {
        Dialogs::message(this, AppInfo::title(), Text::restoreNotDone);
        return;
    }
    setCopying(true);
    Database::closeAll();
    QString error;
    const Backup::RestoreResult result = Backup::restoreDatabase(source, &error);
    setCopying(false);
    switch (result) {
    case Backup::RestoreResult::Refused:
        Dialogs::message(this, Text::error, Text::notABackup + QStringLiteral("\r\n") + error, QMessageBox::Ok,
            Dialogs::Icon::Warning);
        return;
    case Backup::RestoreResult::CopyFailed:
        ShowCopyFailure(this, error);
        return;
    case Backup::RestoreResult::Restored:
        break;
    }
    Dialogs::message(this, AppInfo::title(), Text::restoreDone);
    ProgramEnd::now();
}

void BackupWindow::setCopying(bool on)
{
    m_copying = on;
    for (QPushButton *button : { b1, b2, VisualButtonEx2, VisualButtonEx3, Command1 })
        button->setEnabled(!on);
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void BackupWindow::closeEvent(QCloseEvent *event)
{
    // A copy in progress is finished first; the window stays until then.
    if (m_copying) {
        event->ignore();
        return;
    }
    event->accept();
    ProgramEnd::now();
}
