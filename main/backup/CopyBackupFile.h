#pragma once

#include <QString>

class QWidget;

/// Copies \a source over \a destination in 4048-byte chunks, letting the
/// interface process its events between chunks (Backup::copyFile). On
/// failure the copy message with the system's description is shown and
/// false returned; the destination is then as it was. The copy is complete
/// when this returns, but the disk may still be writing it: the database it
/// copies stays as it is, so the wait is left to WaitForBackupOnDisk.
bool CopyBackupFile(const QString &source, const QString &destination, QWidget *owner = nullptr);

/// Waits until the copy at \a path is on the disk; if the disk fails it,
/// the copy failure box is shown and false returned.
bool WaitForBackupOnDisk(const QString &path, QWidget *owner = nullptr);

/// The copy failure box: "اشکال در ايجاد نسخه پشتيباني", a line break and
/// \a systemError; critical icon, the program's title.
void ShowCopyFailure(QWidget *owner, const QString &systemError);
