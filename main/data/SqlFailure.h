#pragma once

#include <QString>

class QFileDevice;
class QSqlError;

/// What a failed statement means for the user, in Persian: the database is
/// locked, read-only, the disk is full, ... never SQLite's own English.
QString SqlFailureText(const QSqlError &error);

/// The same for a result code of SQLite's own interface; a fault with no
/// words of its own is said as \a otherwise.
QString SqliteFailureText(int code, const QString &otherwise);
QString SqliteFailureText(int code);

/// What a failed file operation means for the user, in Persian: the disk is
/// full, the file or its folder is read-only, the file is not there, ...
/// never the system's own English. \a file is the device that failed.
QString FileFailureText(const QFileDevice &file);

/// Whether SQLite gave up because another connection holds a lock.
bool IsLockedFailure(const QSqlError &error);
