#pragma once

#include <QString>

class QFile;

/// Operations that make a file's bytes and its name last on the disk. The
/// system calls behind them live in one implementation file per platform
/// (DurableFile_posix.cpp; a Windows one would use FlushFileBuffers and
/// MoveFileExW with MOVEFILE_WRITE_THROUGH).
namespace DurableFile {

/// Tells the system that \a file will be read from start to end.
void adviseSequential(QFile &file);

/// Asks the disk to start writing \a length bytes of \a file from \a offset
/// (0 for the whole file) without waiting for them.
void startWriteback(QFile &file, qint64 offset, qint64 length);

/// Waits until everything written to \a file is on the disk.
bool flushToDisk(QFile &file, QString *error);

/// flushToDisk for a file that is not open: \a path is opened for it.
bool flushPathToDisk(const QString &path, QString *error);

/// Renames \a from over \a to in one step: \a to holds either its old bytes
/// or all of \a from's, never a mix.
bool renameIntoPlace(const QString &from, const QString &to, QString *error);

/// Makes the folder's entries (a rename into it) last. A no-op where the
/// system keeps them with the file.
void syncFolder(const QString &dir);

/// The system's description of an error code (errno on POSIX).
QString systemErrorText(int code);

/// The codes the copy reports in the system's own words.
enum class Fault { IsFolder, AccessDenied, InputOutput };
QString faultText(Fault fault);

} // namespace DurableFile
