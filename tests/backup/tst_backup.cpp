#include "BackupFixtures.h"
#include "backup/Backup.h"
#include "calendar/Clock.h"
#include "data/DataTexts.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

using namespace BackupFixtures;

class TestBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Clock::setFixed(QDateTime()); }
    void copiesInChunks_data();
    void copiesInChunks();
    void copyFollowsALink();
    void failedCopyNamesTheFaultAndLeavesNothing_data();
    void failedCopyNamesTheFaultAndLeavesNothing();
    void sourceCutShortIsAFailure();
    void copyLeftToTheDiskIsWhole();
    void timeText_data();
    void timeText();
    void proposedName();
    void restoreRefusesAllButOurDatabases_data();
    void restoreRefusesAllButOurDatabases();
    void restoreKeepsASafetyCopy();
    void failedRestoreLeavesTheDatabase();
    void olderBackupIsUpgraded_data();
    void olderBackupIsUpgraded();
};

void TestBackup::copiesInChunks_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("existing"); // size of a destination already there, -1 for none
    QTest::addColumn<int>("chunks");

    QTest::newRow("empty file") << 0 << -1 << 0;
    QTest::newRow("exactly 4048 bytes") << 4048 << -1 << 1;
    QTest::newRow("3 x 4048 + 1") << 3 * 4048 + 1 << -1 << 4;
    QTest::newRow("larger existing destination") << 5000 << 3 * 4048 << 2;
    QTest::newRow("empty source over existing file") << 0 << 100 << 0;
    constexpr int block = int(Backup::kBlockSize);
    constexpr int perBlock = int(Backup::kBlockSize / Backup::kChunkSize);
    QTest::newRow("exactly one block") << block << -1 << perBlock;
    QTest::newRow("two blocks and a byte") << 2 * block + 1 << -1 << 2 * perBlock + 1;
}

// A destination that is a link: the file it names gets the bytes.
void TestBackup::copyFollowsALink()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("DBres.mdb"));
    const QString real = dir.filePath(QStringLiteral("real.mdbB"));
    const QString link = dir.filePath(QStringLiteral("link.mdbB"));
    const QByteArray bytes = randomBytes(5000);
    writeFile(source, bytes);
    writeFile(real, QByteArray("old"));
    QVERIFY(QFile::link(real, link));
    QString error;
    QVERIFY2(Backup::copyFile(source, link, &error, {}), qPrintable(error));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(readFile(real) == bytes);
}

void TestBackup::copiesInChunks()
{
    QFETCH(int, size);
    QFETCH(int, existing);
    QFETCH(int, chunks);

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("DBres.mdb"));
    const QString destination = dir.filePath(QStringLiteral("copy.mdbB"));
    const QByteArray bytes = randomBytes(size);
    writeFile(source, bytes);
    if (existing >= 0)
        writeFile(destination, QByteArray(existing, 'x'));

    int calls = 0;
    QString error;
    QVERIFY2(Backup::copyFile(source, destination, &error, [&] { ++calls; }), qPrintable(error));
    QCOMPARE(calls, chunks);
    QCOMPARE(QFileInfo(destination).size(), qint64(size));
    QVERIFY(readFile(destination) == bytes);
    QCOMPARE(leftovers(dir.path()), QStringList());
}

void TestBackup::failedCopyNamesTheFaultAndLeavesNothing_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("message");

    const QString missing = QString::fromLocal8Bit(std::strerror(ENOENT));
    QTest::newRow("unreadable source: missing") << "missing.mdb"
                                                << "copy.mdbB" << missing;
    QTest::newRow("unwritable destination: no such folder") << "DBres.mdb"
                                                            << "gone/copy.mdbB" << missing;
    QTest::newRow("unwritable destination: a folder") << "DBres.mdb"
                                                      << "folder" << QString::fromLocal8Bit(std::strerror(EISDIR));
}

void TestBackup::failedCopyNamesTheFaultAndLeavesNothing()
{
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(QString, message);

    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("DBres.mdb")), randomBytes(9000));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    QString error;
    QVERIFY(!Backup::copyFile(dir.filePath(source), dir.filePath(destination), &error, {}));
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty(), true);
}

// A source that shrinks under the copy must not give a short "backup".
void TestBackup::sourceCutShortIsAFailure()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("DBres.mdb"));
    const QString destination = dir.filePath(QStringLiteral("copy.mdbB"));
    // Past the first block, whose bytes are read before the source shrinks.
    writeFile(source, randomBytes(Backup::kBlockSize + 5 * 4048));
    writeFile(destination, QByteArray("old backup"));

    int calls = 0;
    QString error;
    const bool copied = Backup::copyFile(source, destination, &error, [&] {
        if (++calls == 3)
            QFile::resize(source, 4048);
    });
    QVERIFY(!copied);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(destination), QByteArray("old backup"));
    QCOMPARE(leftovers(dir.path()), QStringList());
}

// A backup is renamed into place before the disk has it; the wait after
// finds it whole, and a file that is gone is named as such.
void TestBackup::copyLeftToTheDiskIsWhole()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("DBres.mdb"));
    const QString destination = dir.filePath(QStringLiteral("copy.mdbB"));
    const QByteArray bytes = randomBytes(Backup::kBlockSize + 1);
    writeFile(source, bytes);
    QString error;
    QVERIFY2(Backup::copyFile(source, destination, &error, {}, Backup::Durability::Started), qPrintable(error));
    QVERIFY(readFile(destination) == bytes);
    QCOMPARE(leftovers(dir.path()), QStringList());
    QVERIFY2(Backup::waitForDisk(destination, &error), qPrintable(error));
    QVERIFY(!Backup::waitForDisk(dir.filePath(QStringLiteral("gone.mdbB")), &error));
    QCOMPARE(error, QString::fromLocal8Bit(std::strerror(ENOENT)));
}

void TestBackup::timeText_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");

    QTest::newRow("midnight") << QTime(0, 0) << "0.00";
    QTest::newRow("morning, one-digit minutes") << QTime(9, 5, 59) << "9.05";
    QTest::newRow("noon") << QTime(12, 30) << "12.30";
    QTest::newRow("last minute") << QTime(23, 59) << "23.59";
}

void TestBackup::timeText()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(Backup::timeText(time), text);
}

void TestBackup::proposedName()
{
    // 28 Mehr 1401 is 20 October 2022.
    const QDateTime when(QDate(2022, 10, 20), QTime(9, 5));
    QCOMPARE(Backup::dateText(when), QStringLiteral("1401.7.28"));
    QCOMPARE(Backup::proposedName(Backup::dateText(when), Backup::timeText(when.time())),
        QStringLiteral("Pelorinدر تاريخ1401.7.28 ساعت)9.05).mdbB"));
}

void TestBackup::restoreRefusesAllButOurDatabases_data()
{
    QTest::addColumn<Candidate>("candidate");
    QTest::addColumn<bool>("restored");

    QTest::newRow("a good backup") << Candidate::Good << true;
    QTest::newRow("random bytes") << Candidate::RandomBytes << false;
    QTest::newRow("empty file") << Candidate::Empty << false;
    QTest::newRow("truncated") << Candidate::TruncatedHalf << false;
    QTest::newRow("only the header page start") << Candidate::HeaderOnly << false;
    QTest::newRow("a damaged page") << Candidate::DamagedPage << false;
    QTest::newRow("a foreign SQLite file") << Candidate::Foreign << false;
    QTest::newRow("the clinic profile file") << Candidate::ThemeFile << false;
    QTest::newRow("a newer user_version") << Candidate::NewerVersion << false;
    QTest::newRow("missing PPP") << Candidate::MissingPPP << false;
    QTest::newRow("missing AnswerLog") << Candidate::MissingAnswerLog << false;
    QTest::newRow("a trigger deleting examinees") << Candidate::DeletingTrigger << false;
    QTest::newRow("a trigger setting every IQ") << Candidate::IqTrigger << false;
    QTest::newRow("a view in place of Answer") << Candidate::ViewForAnswer << false;
    QTest::newRow("IDE defined otherwise") << Candidate::OtherIdeDefinition << false;
    QTest::newRow("duplicate codes in IDE") << Candidate::DuplicateCodes << false;
}

void TestBackup::restoreRefusesAllButOurDatabases()
{
    QFETCH(Candidate, candidate);
    QFETCH(bool, restored);

    ProgramFolder folder;
    const QString backup = folder.dir.filePath(QStringLiteral("chosen.mdbB"));
    makeCandidate(candidate, backup);
    const QByteArray database = digest(AppPaths::examineeDatabase());
    const QByteArray chosen = digest(backup);

    QString error;
    const Backup::RestoreResult result = Backup::restoreDatabase(backup, &error, nullptr, {});
    if (restored) {
        QCOMPARE(result, Backup::RestoreResult::Restored);
        QCOMPARE(digest(AppPaths::examineeDatabase()), chosen);
        QString openError;
        QVERIFY2(Database::open(Database::File::Examinee, &openError), qPrintable(openError));
        // The click log comes with the answers.
        QSqlQuery q(Database::connection(Database::File::Examinee));
        QVERIFY(q.exec(QStringLiteral("SELECT Code, Item, Choice, LatencyMs FROM AnswerLog")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("7001"));
        QCOMPARE(q.value(3).toInt(), 2300);
    } else {
        QCOMPARE(result, Backup::RestoreResult::Refused);
        QVERIFY(!error.isEmpty());
        QCOMPARE(digest(AppPaths::examineeDatabase()), database);
        QVERIFY(!QFileInfo::exists(AppPaths::backupDir()) || QDir(AppPaths::backupDir()).isEmpty());
    }
    QCOMPARE(leftovers(folder.dir.path()), QStringList());
}

void TestBackup::restoreKeepsASafetyCopy()
{
    ProgramFolder folder;
    Clock::setFixed(QDateTime(QDate(2022, 10, 20), QTime(9, 5)));
    const QString backup = folder.dir.filePath(QStringLiteral("chosen.mdbB"));
    makeGoodBackup(backup);
    const QByteArray before = readFile(AppPaths::examineeDatabase());
    // A stale journal of the old file must not be rolled into the new one.
    writeFile(AppPaths::examineeDatabase() + QStringLiteral("-journal"), randomBytes(512));

    QString error, first, second;
    QCOMPARE(Backup::restoreDatabase(backup, &error, &first, {}), Backup::RestoreResult::Restored);
    QCOMPARE(QFileInfo(first).absolutePath(), QFileInfo(AppPaths::backupDir()).absoluteFilePath());
    QVERIFY2(first.contains(QStringLiteral("1401.7.28 9.05")), qPrintable(first));
    QVERIFY(first.endsWith(QStringLiteral(".mdbB")));
    QVERIFY(readFile(first) == before);
    QVERIFY(!QFileInfo::exists(AppPaths::examineeDatabase() + QStringLiteral("-journal")));

    // A second restore in the same minute keeps both safety copies.
    QCOMPARE(Backup::restoreDatabase(backup, &error, &second, {}), Backup::RestoreResult::Restored);
    QVERIFY(second != first);
    QVERIFY(readFile(first) == before);
    QCOMPARE(digest(second), digest(backup));
}

void TestBackup::failedRestoreLeavesTheDatabase()
{
    ProgramFolder folder;
    const QString backup = folder.dir.filePath(QStringLiteral("chosen.mdbB"));
    makeGoodBackup(backup);
    const QByteArray database = digest(AppPaths::examineeDatabase());
    const qint64 safetyChunks
        = (QFileInfo(AppPaths::examineeDatabase()).size() + Backup::kChunkSize - 1) / Backup::kChunkSize;

    // The chosen file shrinks once the copy onto the database has begun.
    qint64 calls = 0;
    QString error;
    const auto result = Backup::restoreDatabase(backup, &error, nullptr, [&] {
        if (++calls == safetyChunks + 1)
            QFile::resize(backup, 100);
    });
    QCOMPARE(result, Backup::RestoreResult::CopyFailed);
    QCOMPARE(digest(AppPaths::examineeDatabase()), database);
    QCOMPARE(leftovers(folder.dir.path()), QStringList());
}

void TestBackup::olderBackupIsUpgraded_data()
{
    QTest::addColumn<bool>("upgradeRefused");
    QTest::newRow("upgraded") << false;
    QTest::newRow("upgrade refused") << true;
}

// A backup made before AgeMonths existed: restored, then upgraded like any
// older file; when the upgrade fails the database from before comes back.
void TestBackup::olderBackupIsUpgraded()
{
    QFETCH(bool, upgradeRefused);
    ProgramFolder folder;
    const QString backup = folder.dir.filePath(QStringLiteral("older.mdbB"));
    makeGoodBackup(backup);
    // A column the upgrade step adds already there makes the step fail.
    QStringList older = { QStringLiteral("UPDATE IDE SET DateTavalod = '1394/1/15', DateEjra = '1401/05/20'"),
        QStringLiteral("DROP TABLE AnswerLog"), QStringLiteral("PRAGMA user_version = 1") };
    if (!upgradeRefused)
        older.insert(1, QStringLiteral("ALTER TABLE IDE DROP COLUMN AgeMonths"));
    runSql(backup, older);
    const QByteArray database = digest(AppPaths::examineeDatabase());
    const QByteArray chosen = digest(backup);

    QString error, safety;
    const Backup::RestoreResult result = Backup::restoreDatabase(backup, &error, &safety, {});
    QCOMPARE(digest(backup), chosen);
    QCOMPARE(digest(safety), database);
    if (upgradeRefused) {
        QCOMPARE(result, Backup::RestoreResult::CopyFailed);
        QVERIFY2(error.contains(DataTexts::upgradeFailed.arg(1).arg(DataTexts::storeFailed)), qPrintable(error));
        QCOMPARE(digest(AppPaths::examineeDatabase()), database);
        return;
    }
    QCOMPARE(result, Backup::RestoreResult::Restored);
    QString openError;
    QVERIFY2(Database::open(Database::File::Examinee, &openError), qPrintable(openError));
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
    QCOMPARE(q.value(0).toInt(), Schema::kSchemaVersion);
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*), MIN(AgeMonths), MAX(AgeMonths) FROM IDE")) && q.next());
    QCOMPARE(q.value(0).toInt(), 200);
    QCOMPARE(q.value(1).toInt(), 88);
    QCOMPARE(q.value(2).toInt(), 88);
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM AnswerLog")) && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    // Back holds the database from before and the restored file as it came.
    QCOMPARE(QDir(AppPaths::backupDir()).entryList(QDir::Files).size(), 2);
}

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
