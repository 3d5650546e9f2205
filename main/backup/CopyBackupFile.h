#pragma once

#include <QString>

class QWidget;

/// Copies \a source over \a destination in 4048-byte chunks, letting the
/// interface process its events before each chunk (Backup::copyFile). On
/// failure the copy message with the system's description is shown and
/// false returned; the destination is then as it was.
bool CopyBackupFile(const QString &source, const QString &destination, QWidget *owner = nullptr);

/// The copy failure box: "اشکال در ايجاد نسخه پشتيباني", a line break and
/// \a systemError; critical icon, the program's title.
void ShowCopyFailure(QWidget *owner, const QString &systemError);
