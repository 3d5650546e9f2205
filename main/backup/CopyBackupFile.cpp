#include "backup/CopyBackupFile.h"

#include "backup/Backup.h"
#include "backup/CopyBackupFileTexts.h"
#include "common/Dialogs.h"
#include "data/AppInfo.h"

namespace {

namespace Text = CopyBackupFileTexts;
} // namespace

bool CopyBackupFile(const QString &source, const QString &destination, QWidget *owner)
{
    QString error;
    if (Backup::copyFile(source, destination, &error, Backup::interfaceTurns(), Backup::Durability::Started))
        return true;
    ShowCopyFailure(owner, error);
    return false;
}

bool WaitForBackupOnDisk(const QString &path, QWidget *owner)
{
    QString error;
    if (Backup::waitForDisk(path, &error))
        return true;
    ShowCopyFailure(owner, error);
    return false;
}

void ShowCopyFailure(QWidget *owner, const QString &systemError)
{
    Dialogs::message(owner, AppInfo::title(), Text::copyFailed + QStringLiteral("\r\n") + systemError, QMessageBox::Ok,
        Dialogs::Icon::Critical);
}
