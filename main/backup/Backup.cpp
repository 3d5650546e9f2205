#include "backup/Backup.h"

#include "backup/BackupTexts.h"
#include "backup/RestoreTexts.h"
#include "calendar/Clock.h"
#include "calendar/ShamsiCalendar.h"
#include "common/DurableFile.h"
#include "data/AppPaths.h"
#include "data/Database.h"
#include "data/Migration.h"
#include "data/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QUuid>
#include <QtEndian>

#include <cerrno>

#include <vector>

namespace Backup {

namespace {

namespace Text = BackupTexts;

constexpr qint64 kWritebackStep = 16 << 20;

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// Journal files left beside a replaced database belong to the old file;
// SQLite would roll them back into the new one.
void removeStaleJournals(const QString &database)
{
    for (const char *suffix : { "-journal", "-wal", "-shm" })
        QFile::remove(database + QLatin1String(suffix));
}

// A file cut off in the middle (a copy that stopped short) is named as
// such; SQLite would only call it damaged, or say nothing at all.
bool checkLength(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true; // the database check names that fault
    const QByteArray head = file.read(100);
    if (!head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return true;
    qint64 expected = 100;
    if (head.size() == 100) {
        const int size = qFromBigEndian<quint16>(head.constData() + 16);
        const qint64 pageSize = size == 1 ? 65536 : size;
        const quint32 pages = qFromBigEndian<quint32>(head.constData() + 28);
        // The page count is only kept up to date when the two counters agree.
        const bool counted = head.mid(24, 4) == head.mid(92, 4);
        expected = counted ? pageSize * pages : 0;
    }
    if (file.size() >= expected)
        return true;
    return fail(error,
        QStringLiteral("%1: cut short (%2 of %3 bytes)")
            .arg(QFileInfo(path).fileName())
            .arg(file.size())
            .arg(expected));
}

} // namespace

ChunkHook interfaceTurns()
{
    return [turn = QElapsedTimer()]() mutable {
        if (turn.isValid() && turn.elapsed() < kTurnIntervalMs)
            return;
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        turn.start();
    };
}

bool copyFile(const QString &source, const QString &destination, QString *error, const ChunkHook &beforeChunk,
    Durability durability)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(error, in.errorString());
    // A link is followed, so the file it names is replaced, not the link.
    const QFileInfo named(destination);
    const QFileInfo target(named.isSymLink() ? named.symLinkTarget() : named.absoluteFilePath());
    if (target.isDir())
        return fail(error, DurableFile::faultText(DurableFile::Fault::IsFolder));
    // A rename would replace a file the user may not write; refuse as a write would.
    if (target.exists() && !target.isWritable())
        return fail(error, DurableFile::faultText(DurableFile::Fault::AccessDenied));

    // The temporary file carries the destination's name so a leftover one
    // after a crash says what it was.
    QTemporaryFile out(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!out.open())
        return fail(error, out.errorString());

    const qint64 length = in.size();
    DurableFile::adviseSequential(in);
    // A chunk is read with the block it starts, and written with the block
    // it ends.
    static_assert(kBlockSize % kChunkSize == 0);
    std::vector<char> block(kBlockSize);
    qint64 blockStart = 0, blockSize = 0;
    qint64 started = 0; // handed to the disk so far
    for (qint64 offset = 0; offset < length; offset += kChunkSize) {
        if (beforeChunk)
            beforeChunk();
        if (offset == blockStart + blockSize) {
            blockStart = offset;
            blockSize = qMin(kBlockSize, length - offset);
            const qint64 got = in.read(block.data(), blockSize);
            if (got < 0)
                return fail(error, in.errorString());
            if (got != blockSize) // the source was cut short while copying
                return fail(error, DurableFile::faultText(DurableFile::Fault::InputOutput));
        }
        const qint64 end = qMin(offset + kChunkSize, length);
        if (end < blockStart + blockSize)
            continue;
        if (out.write(block.data(), blockSize) != blockSize)
            return fail(error, out.errorString());
        // A synced copy starts the disk on what is written while the copy
        // goes on, so the final sync does not wait for all of it at once.
        if (durability == Durability::Synced && end - started >= kWritebackStep) {
            if (!out.flush())
                return fail(error, out.errorString());
            DurableFile::startWriteback(out, started, end - started);
            started = end;
        }
    }
    if (durability == Durability::Synced) {
        if (!DurableFile::flushToDisk(out, error))
            return false;
    } else {
        if (!out.flush())
            return fail(error, out.errorString());
        DurableFile::startWriteback(out, 0, 0);
    }

    const QFile::Permissions permissions = target.exists()
        ? QFile::permissions(target.absoluteFilePath())
        : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    out.setPermissions(permissions);
    if (!DurableFile::renameIntoPlace(out.fileName(), target.absoluteFilePath(), error))
        return false;
    out.setAutoRemove(false);
    if (durability == Durability::Synced)
        DurableFile::syncFolder(target.absolutePath());
    return true;
}

bool waitForDisk(const QString &path, QString *error)
{
    if (!DurableFile::flushPathToDisk(path, error))
        return false;
    // The rename that needs to be lasting is in the folder of the file a link names.
    DurableFile::syncFolder(QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath());
    return true;
}

QString timeText(const QTime &time)
{
    return QStringLiteral("%1.%2").arg(time.hour()).arg(time.minute(), 2, 10, QLatin1Char('0'));
}

QString dateText(const QDateTime &when)
{
    return ShamsiDate(when, 4);
}

QString proposedName(const QString &date, const QString &time)
{
    return Text::program + Text::onDate + date + Text::hour + time + Text::close + Text::extension;
}

namespace {

struct SchemaEntries
{
    QHash<QString, QString> tables; ///< name -> CREATE statement
    QStringList triggers;
    QStringList views;
    QString duplicateCode; ///< a Code that IDE holds more than once
    int version = 0;
    bool read = false;
};

SchemaEntries readSchema(const QString &path)
{
    SchemaEntries entries;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            entries.read = q.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master"));
            while (entries.read && q.next()) {
                const QString type = q.value(0).toString();
                if (type == QLatin1String("table"))
                    entries.tables.insert(q.value(1).toString(), q.value(2).toString());
                else if (type == QLatin1String("trigger"))
                    entries.triggers << q.value(1).toString();
                else if (type == QLatin1String("view"))
                    entries.views << q.value(1).toString();
            }
            QSqlQuery v(db);
            if (entries.read && v.exec(QStringLiteral("PRAGMA user_version")) && v.next())
                entries.version = v.value(0).toInt();
            QSqlQuery d(db);
            if (entries.read && entries.tables.contains(QStringLiteral("IDE"))) {
                if (!d.exec(QStringLiteral("SELECT Code FROM IDE GROUP BY Code HAVING COUNT(*) > 1 LIMIT 1")))
                    entries.read = false;
                else if (d.next())
                    entries.duplicateCode = d.value(0).toString();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return entries;
}

// A backup may have passed through other hands: only what this program makes
// is restored. A trigger or a view would act on every later save.
bool checkOwnSchema(const QString &path, QString *error)
{
    const SchemaEntries chosen = readSchema(path);
    if (!chosen.read)
        return fail(error, RestoreTexts::unreadable);
    if (!chosen.triggers.isEmpty())
        return fail(error, RestoreTexts::hasTrigger.arg(chosen.triggers.join(QStringLiteral("، "))));
    if (!chosen.views.isEmpty())
        return fail(error, RestoreTexts::hasView.arg(chosen.views.join(QStringLiteral("، "))));
    if (!chosen.duplicateCode.isNull())
        return fail(error, RestoreTexts::duplicateCode.arg(chosen.duplicateCode));
    // An older layout is compared after its upgrade steps have run; a file of
    // this layout must define our tables as a new file does.
    if (chosen.version != Schema::kSchemaVersion)
        return true;
    QTemporaryDir dir;
    const QString reference = dir.filePath(QStringLiteral("reference.mdb"));
    if (!dir.isValid() || !Schema::createExamineeFile(reference, {}, error))
        return false;
    const SchemaEntries ours = readSchema(reference);
    for (auto t = ours.tables.cbegin(); t != ours.tables.cend(); ++t) {
        if (chosen.tables.value(t.key()) != t.value())
            return fail(error, RestoreTexts::otherTable.arg(t.key()));
    }
    return true;
}

} // namespace

bool checkRestoreFile(const QString &path, QString *error)
{
    return checkLength(path, error) && Database::check(path, Database::File::Examinee, error, { true })
        && checkOwnSchema(path, error);
}

QString safetyCopyPath(const QDateTime &when)
{
    return AppPaths::freeBackupPath(
        QStringLiteral("DBres before restore %1 %2").arg(dateText(when), timeText(when.time())), Text::extension);
}

RestoreResult restoreDatabase(const QString &source, QString *error, QString *safetyCopy, const ChunkHook &beforeChunk)
{
    if (!checkRestoreFile(source, error))
        return RestoreResult::Refused;
    const QString database = AppPaths::examineeDatabase();
    QString keep;
    if (QFileInfo::exists(database)) {
        if (!QDir().mkpath(AppPaths::backupDir())) {
            fail(error, QStringLiteral("%1: %2").arg(AppPaths::backupDir(), DurableFile::systemErrorText(errno)));
            return RestoreResult::CopyFailed;
        }
        keep = safetyCopyPath(Clock::now());
        if (!copyFile(database, keep, error, beforeChunk))
            return RestoreResult::CopyFailed;
        if (safetyCopy)
            *safetyCopy = keep;
    }
    if (!copyFile(source, database, error, beforeChunk))
        return RestoreResult::CopyFailed;
    removeStaleJournals(database);
    // A backup of an older layout is upgraded now, so the program finds the
    // layout it reads. Should that fail, the database from before the
    // restore goes back: a restored file that cannot be opened helps nobody.
    if (Migration::upgradeExaminee(database, error) == Migration::Outcome::Failed) {
        QString ignored;
        if (!keep.isEmpty())
            copyFile(keep, database, &ignored, beforeChunk);
        return RestoreResult::CopyFailed;
    }
    return RestoreResult::Restored;
}

} // namespace Backup
