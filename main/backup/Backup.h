#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

/// The Backup module: copying the examinee database to and from backup
/// files, the proposed backup name and the restore check. No widgets.
namespace Backup {

/// The copy moves this many bytes at a time (not 4096) and lets the
/// interface run between chunks.
constexpr qint64 kChunkSize = 4048;

/// The files are read and written this many bytes at a time: a block of
/// whole chunks, so no chunk straddles two blocks. One system call per
/// chunk would make a copy several times slower than the disk.
constexpr qint64 kBlockSize = 64 * kChunkSize;

/// How often, at most, the default hook lets the interface process events.
constexpr int kTurnIntervalMs = 10;

/// Called before every chunk.
using ChunkHook = std::function<void()>;

/// The default hook: before the first chunk, and then before a chunk
/// whenever kTurnIntervalMs have passed, the interface processes its pending
/// events. Processing them before each of a large file's fifty thousand
/// chunks would cost more than the copy itself.
ChunkHook interfaceTurns();

enum class Durability {
    Synced, ///< the copy and its folder entry are on the disk when copyFile returns
    Started, ///< the disk has been asked to write the copy; waitForDisk() waits for it
};

/// Copies \a source to \a destination in kChunkSize chunks, calling
/// \a beforeChunk before each one. The bytes go to a temporary file beside
/// the destination, which is renamed over it: the destination is either
/// untouched or holds exactly the source's bytes. On failure \a error holds
/// the system's description and nothing is left.
bool copyFile(const QString &source, const QString &destination, QString *error,
    const ChunkHook &beforeChunk = interfaceTurns(), Durability durability = Durability::Synced);

/// Waits until \a path (a copy made with Durability::Started) and its folder
/// entry are on the disk; false, with the system's description, when the
/// disk could not take them.
bool waitForDisk(const QString &path, QString *error);

/// The hidden time holder's text: hour without leading zero, ".", two-digit
/// minutes (9:05 gives "9.05").
QString timeText(const QTime &time);

/// The hidden date holder's text: the Solar Hijri date in layout 4 (1401.7.28).
QString dateText(const QDateTime &when);

/// The proposed backup file name (no folder), built from the date and time
/// holders: "Pelorin" "در تاريخ" date " ساعت)" time ")" ".mdbB".
QString proposedName(const QString &date, const QString &time);

/// Whether \a path is one of our examinee databases that this program can
/// read: SQLite header, quick_check, application_id, user_version not
/// newer, tables IDE, Answer and PPP with their fields.
bool checkRestoreFile(const QString &path, QString *error);

/// Where the database is kept before a restore replaces it: a dated name in
/// Back that no file has yet.
QString safetyCopyPath(const QDateTime &when);

enum class RestoreResult {
    Restored, ///< the database now holds the chosen file's bytes
    Refused, ///< not a backup we can read; nothing was touched
    CopyFailed, ///< a copy failed; the database is as it was
};

/// Restores the examinee database from \a source: the check, then the
/// current database kept as a safety copy in Back (its path in
/// \a safetyCopy), then the copy over the database. Every connection must be
/// closed before (Database::closeAll()).
RestoreResult restoreDatabase(const QString &source, QString *error, QString *safetyCopy = nullptr,
    const ChunkHook &beforeChunk = interfaceTurns());

} // namespace Backup
