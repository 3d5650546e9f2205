#pragma once

#include <QSqlDatabase>
#include <QString>

/// The program's connections to its two database files. Record sources of
/// all windows share one named connection per file; closeAll() drops them,
/// after which each file on disk is the whole database.
namespace Database {

enum class File { Examinee, Theme };

QString path(File file);
QString fileName(File file); ///< "DBres.mdb" / "Theme.skn"

struct CheckOptions
{
    bool integrity = false; ///< run PRAGMA quick_check as well (restore)
    /// Open for writing, so SQLite can finish what a crash interrupted (roll
    /// its journal back); the file must be ours by its header first, and
    /// writable with its folder. Without it the file is opened read-only.
    bool recover = false;
};

/// Checks that \a path is one of our \a kind database files, not newer than
/// this program, with every table and field of its layout version. Nothing
/// is created; without \a options.recover nothing is written either. The
/// message names the file and the fault, in Persian.
bool check(const QString &path, File kind, QString *error, CheckOptions options = {});

/// Opens the connection to \a file if it is not open yet, after check().
/// An examinee file of an older layout is upgraded first (Migration).
/// The connection uses journal_mode DELETE and synchronous FULL, so every
/// stored change is durable once the statement returns.
bool open(File file, QString *error);

/// Opens the connection to \a file over the database at \a path, read-only:
/// nothing in or beside the file is ever written through it (tools that
/// only read, such as the export). Fails when a connection is already open.
bool openReadOnly(File file, const QString &path, QString *error);

/// The open connection (invalid when open() has not succeeded).
QSqlDatabase connection(File file);
QString connectionName(File file);

/// Closes every connection the program holds.
void closeAll();

/// Counts closeAll() calls, so what was read through a connection is never
/// mistaken for what a later connection reads.
quint64 generation();

} // namespace Database
