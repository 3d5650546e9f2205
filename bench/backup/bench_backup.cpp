// Backing up a 200 MB examinee database against `cp` of the same file, in
// the same run and on the same disk. Prints each run and the median ratio.

#include "backup/Backup.h"
#include "backup/CopyBackupFile.h"
#include "bench/common/Stats.h"
#include "data/AppPaths.h"
#include "data/Schema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMegabytes = 200;
constexpr int kRuns = 5;

// An examinee database grown to the size by a table of random blobs.
bool makeDatabase(const QString &path)
{
    QString error;
    if (!Schema::createExamineeFile(path, {}, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        ok = ok && q.exec(QStringLiteral("CREATE TABLE Filler (data BLOB)"));
        ok = ok
            && q.prepare(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?)"
                                        " INSERT INTO Filler SELECT randomblob(1048576) FROM n"));
        q.addBindValue(kMegabytes);
        ok = ok && q.exec();
        if (!ok)
            std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return ok;
}

double seconds(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e9;
}

bool run(const QString &program, const QStringList &args)
{
    return QProcess::execute(program, args) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // the copy processes events as in the program

    QTemporaryDir dir(QStringLiteral(PELORIN_BINARY_DIR "/bench-backup-XXXXXX"));
    AppPaths::setProgramDir(dir.path());
    const QString database = AppPaths::examineeDatabase();
    if (!makeDatabase(database))
        return 1;
    const QString target = dir.filePath(QStringLiteral("copy.mdbB"));
    const double mb = QFile(database).size() / 1048576.0;
    std::printf("database: %.1f MB, %d runs each, alternating\n", mb, kRuns);
    run(QStringLiteral("cp"), { database, target }); // warm the page cache

    std::vector<double> cp, cpSync, backup, onDisk, synced;
    for (int i = 0; i < kRuns; ++i) {
        QFile::remove(target);
        QElapsedTimer t;
        t.start();
        run(QStringLiteral("cp"), { database, target });
        cp.push_back(seconds(t));
        run(QStringLiteral("sync"), { target });
        cpSync.push_back(seconds(t));

        // What the user waits for: the backup window's copy, and then (while
        // the success message is read) the wait until the disk has it.
        QFile::remove(target);
        t.start();
        if (!CopyBackupFile(database, target))
            return 1;
        backup.push_back(seconds(t));
        if (!WaitForBackupOnDisk(target))
            return 1;
        onDisk.push_back(seconds(t));

        // The copy a restore makes, synced before it is renamed.
        QFile::remove(target);
        t.start();
        if (!Backup::copyFile(database, target, nullptr))
            return 1;
        synced.push_back(seconds(t));
        std::printf("run %d: cp %.3f s, cp + sync %.3f s, CopyBackupFile %.3f s (on disk %.3f s), synced copy %.3f s\n",
            i + 1, cp.back(), cpSync.back(), backup.back(), onDisk.back(), synced.back());
    }
    const double ratio = median(backup) / median(cp);
    std::printf("median: cp %.3f s, cp + sync %.3f s, CopyBackupFile %.3f s (%.0f MB/s, on disk %.3f s), synced copy "
                "%.3f s\n",
        median(cp), median(cpSync), median(backup), mb / median(backup), median(onDisk), median(synced));
    std::printf("CopyBackupFile / cp = %.2f (target <= 2.00); on disk / (cp + sync) = %.2f; synced copy / (cp + "
                "sync) = %.2f\n",
        ratio, median(onDisk) / median(cpSync), median(synced) / median(cpSync));
    return 0;
}
