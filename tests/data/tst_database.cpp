#include "ProgramFolder.h"
#include "common/LeadingNumber.h"
#include "data/DataTexts.h"
#include "data/SqlFailure.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QUuid>

namespace {

// Everything of a file but its indexes: the schema entries, the version
// pragmas and every row of every table.
QStringList contentsOf(const QString &path, QStringList *indexes)
{
    QStringList out;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            return {};
        QSqlQuery q(db);
        indexes->clear();
        QStringList tables;
        q.exec(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name"));
        while (q.next()) {
            const QString entry = QStringList { q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                q.value(3).toString() }
                                      .join(QLatin1Char('|'));
            if (q.value(0).toString() == QLatin1String("index"))
                *indexes << entry;
            else
                out << entry;
            if (q.value(0).toString() == QLatin1String("table"))
                tables << q.value(1).toString();
        }
        for (const char *pragma : { "user_version", "application_id", "journal_mode" }) {
            q.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(pragma)));
            q.next();
            out << QLatin1String(pragma) + QLatin1Char('=') + q.value(0).toString();
        }
        for (const QString &t : tables) {
            q.exec(QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(Schema::quoted(t)));
            while (q.next()) {
                QStringList values { t };
                for (int i = 0; i < q.record().count(); ++i)
                    values << q.value(i).toString();
                out << values.join(QLatin1Char('|'));
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

// Runs \a sql on the file in a connection of its own.
void runSql(const QString &path, const QStringList &sql)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString &s : sql)
            QVERIFY2(q.exec(s), qPrintable(s));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createdFilesAreOurs();
    void brokenFilesAreRefusedUntouched_data();
    void brokenFilesAreRefusedUntouched();
    void missingFileIsNotCreated();
    void saveCutShortByACrashIsRolledBack();
    void lockedDatabaseIsNamed();
    void readOnlyOpenSaysWhyInPersian();
    void emptyProfileGetsItsRow();
    void codeLookupsUseAnIndex();
    void existingFileGainsIndexesAndNothingElse();
    void fileFailuresAreSaidInPersian_data();
    void fileFailuresAreSaidInPersian();
    void lenientNumber_data();
    void lenientNumber();
};

void TestDatabase::createdFilesAreOurs()
{
    ProgramFolder folder;
    QVERIFY(folder.openAll());
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("delete"));
    QVERIFY(q.exec(QStringLiteral("PRAGMA synchronous")) && q.next());
    QCOMPARE(q.value(0).toInt(), 2); // FULL
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM PPP")) && q.next());
    QCOMPARE(q.value(0).toInt(), 32);

    RecordSource theme;
    QVERIFY(theme.open(Database::File::Theme, QStringLiteral("Theme")));
    QCOMPARE(theme.rowCount(), 1);
    QCOMPARE(theme.field(QStringLiteral("Check1")), QStringLiteral("0"));

    QString error;
    QVERIFY(!Schema::createThemeFile(AppPaths::themeDatabase(), &error)); // never replaces a file
}

// Every lookup of one examinee is an equality on Code in IDE or Answer.
void TestDatabase::codeLookupsUseAnIndex()
{
    ProgramFolder folder;
    QVERIFY(folder.openAll());
    for (const char *table : { "IDE", "Answer" }) {
        QSqlQuery q(Database::connection(Database::File::Examinee));
        QVERIFY(q.prepare(QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid, * FROM %1 WHERE \"Code\" = ? ORDER BY rowid")
                              .arg(QLatin1String(table))));
        q.addBindValue(QStringLiteral("1"));
        QVERIFY(q.exec());
        QString plan;
        while (q.next())
            plan += q.value(3).toString() + QLatin1Char(';');
        QVERIFY2(plan.contains(QStringLiteral("USING INDEX")), qPrintable(plan));
    }
}

// A file made before the indexes (same schema version) gains them on its
// first open, after a safety copy of it is kept in Back, and nothing else
// changes in it; later opens change nothing and copy nothing.
void TestDatabase::existingFileGainsIndexesAndNothingElse()
{
    ProgramFolder folder;
    const QString path = AppPaths::examineeDatabase();
    runSql(path,
        { QStringLiteral("DROP INDEX IDE_Code"), QStringLiteral("DROP INDEX Answer_Code"),
            QStringLiteral("DROP INDEX AnswerLog_Code"),
            QStringLiteral("INSERT INTO IDE (Code, FName, Hooshbahr) VALUES ('07', 'علي', 'نتيجه نامعتبر مي باشد')"),
            QStringLiteral("INSERT INTO IDE (Code) VALUES ('7 ')"),
            QStringLiteral("INSERT INTO Answer (Code, \"1\", \"36\") VALUES ('07', '3', '0')"),
            QStringLiteral("DELETE FROM IDE WHERE Code = '7 '") });
    QStringList indexes;
    const QStringList before = contentsOf(path, &indexes);
    QVERIFY(!before.isEmpty());
    QCOMPARE(indexes, QStringList());

    const QByteArray unindexed = fileDigest(path);
    QVERIFY(folder.openAll());
    Database::closeAll();
    const QStringList copies = QDir(AppPaths::backupDir()).entryList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(fileDigest(QDir(AppPaths::backupDir()).filePath(copies.first())), unindexed);
    QCOMPARE(contentsOf(path, &indexes), before);
    QCOMPARE(indexes.size(), 3);
    QVERIFY2(indexes.filter(QStringLiteral("|AnswerLog_Code|AnswerLog|")).size() == 1,
        qPrintable(indexes.join(QLatin1Char('\n'))));
    QVERIFY2(indexes.filter(QStringLiteral("|IDE_Code|IDE|")).size() == 1, qPrintable(indexes.join(QLatin1Char('\n'))));
    QVERIFY2(indexes.filter(QStringLiteral("|Answer_Code|Answer|")).size() == 1,
        qPrintable(indexes.join(QLatin1Char('\n'))));

    const QByteArray indexed = fileDigest(path);
    QVERIFY(folder.openAll());
    Database::closeAll();
    QCOMPARE(fileDigest(path), indexed);
    QCOMPARE(QDir(AppPaths::backupDir()).entryList(QDir::Files), copies);
}

void TestDatabase::brokenFilesAreRefusedUntouched_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    const QString file = QStringLiteral("DBres.mdb: ");
    QTest::newRow("random bytes") << "bytes" << file + DataTexts::notADatabase;
    QTest::newRow("empty file") << "empty" << file + DataTexts::notADatabase;
    QTest::newRow("foreign sqlite") << "foreign" << file + DataTexts::notExaminees;
    QTest::newRow("missing table") << "droptable" << file + DataTexts::noTable.arg(QStringLiteral("PPP"));
    QTest::newRow("missing field") << "dropfield"
                                   << file + DataTexts::noField.arg(QStringLiteral("IDE"), QStringLiteral("Hooshbahr"));
    QTest::newRow("newer schema") << "newer" << file + DataTexts::newer.arg(99).arg(Schema::kSchemaVersion);
}

void TestDatabase::brokenFilesAreRefusedUntouched()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    ProgramFolder folder;
    const QString path = AppPaths::examineeDatabase();
    if (damage == QLatin1String("bytes") || damage == QLatin1String("empty") || damage == QLatin1String("foreign")) {
        QFile::remove(path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (damage == QLatin1String("bytes"))
            f.write(QByteArray("This is not a database at all, just text."));
        f.close();
        if (damage == QLatin1String("foreign"))
            runSql(path, { QStringLiteral("CREATE TABLE IDE (Code TEXT)") });
    } else if (damage == QLatin1String("droptable")) {
        runSql(path, { QStringLiteral("DROP TABLE PPP") });
    } else if (damage == QLatin1String("dropfield")) {
        runSql(path, { QStringLiteral("ALTER TABLE IDE DROP COLUMN Hooshbahr") });
    } else {
        runSql(path, { QStringLiteral("PRAGMA user_version = 99") });
    }
    const QByteArray before = fileDigest(path);
    QString error;
    QVERIFY(!Database::open(Database::File::Examinee, &error));
    QVERIFY2(error.startsWith(message), qPrintable(error));
    QCOMPARE(fileDigest(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
}

void TestDatabase::missingFileIsNotCreated()
{
    ProgramFolder folder;
    QFile::remove(AppPaths::themeDatabase());
    QString error;
    QVERIFY(Database::open(Database::File::Examinee, &error));
    QVERIFY(!Database::open(Database::File::Theme, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Theme.skn: ") + DataTexts::notFound.left(10)), qPrintable(error));
    QVERIFY(!QFile::exists(AppPaths::themeDatabase()));
}

// A save cut short leaves the rollback journal beside a file whose pages are
// half written. Opened for writing, SQLite puts the old pages back.
void TestDatabase::saveCutShortByACrashIsRolledBack()
{
    ProgramFolder folder;
    const QString path = AppPaths::examineeDatabase();
    runSql(path,
        { QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                         "INSERT INTO IDE (Code, LName) SELECT i, 'name ' || i FROM n") });
    QTemporaryDir crashed;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        // A tiny cache makes SQLite write changed pages into the file before the commit.
        QVERIFY(q.exec(QStringLiteral("PRAGMA cache_size = 1")));
        QVERIFY(q.exec(QStringLiteral("BEGIN")));
        QVERIFY(q.exec(
            QStringLiteral("UPDATE IDE SET LName = 'changed ' || Code || '%1'").arg(QString(200, QLatin1Char('x')))));
        // The moment of the crash: the file and its journal as the disk has them.
        for (const QString &name :
            { QStringLiteral("DBres.mdb"), QStringLiteral("DBres.mdb-journal"), QStringLiteral("Theme.skn") })
            QVERIFY(QFile::copy(QFileInfo(path).dir().filePath(name), crashed.filePath(name)));
        QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));
    QVERIFY(fileDigest(crashed.filePath(QStringLiteral("DBres.mdb"))) != fileDigest(path)); // torn

    AppPaths::setProgramDir(crashed.path());
    QString error;
    QVERIFY2(Database::open(Database::File::Examinee, &error), qPrintable(error));
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM IDE WHERE LName LIKE 'name %'")) && q.next());
    QCOMPARE(q.value(0).toInt(), 300);
    QVERIFY(!QFile::exists(crashed.filePath(QStringLiteral("DBres.mdb-journal"))));
}

void TestDatabase::lockedDatabaseIsNamed()
{
    ProgramFolder folder;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    db.setDatabaseName(AppPaths::examineeDatabase());
    QVERIFY(db.open());
    QSqlQuery q(db);
    QVERIFY(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    QString error;
    QVERIFY(!Database::open(Database::File::Examinee, &error));
    QCOMPARE(error, QStringLiteral("DBres.mdb: ") + DataTexts::locked);
    QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
    q.finish();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    QVERIFY2(Database::open(Database::File::Examinee, &error), qPrintable(error));
}

// The export's read-only open: a second open and a locked file are said in
// Persian like every other fault.
void TestDatabase::readOnlyOpenSaysWhyInPersian()
{
    ProgramFolder folder;
    const QString path = AppPaths::examineeDatabase();
    QString error;
    {
        ExclusiveLock lock(path);
        QVERIFY(!Database::openReadOnly(Database::File::Examinee, path, &error));
        QCOMPARE(error, QStringLiteral("DBres.mdb: ") + DataTexts::locked);
    }
    QVERIFY2(Database::openReadOnly(Database::File::Examinee, path, &error), qPrintable(error));
    QVERIFY(!Database::openReadOnly(Database::File::Examinee, path, &error));
    QCOMPARE(error, QStringLiteral("DBres.mdb: ") + DataTexts::alreadyOpen);
}

// A profile file whose Theme table lost its row: opening adds the row the
// settings panel edits, after keeping the file as it was in Back.
void TestDatabase::emptyProfileGetsItsRow()
{
    ProgramFolder folder;
    const QString path = AppPaths::themeDatabase();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("emptying"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("DELETE FROM Theme")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("emptying"));
    const QByteArray before = fileDigest(path);

    QString error;
    QVERIFY2(Database::open(Database::File::Theme, &error), qPrintable(error));
    QSqlQuery q(Database::connection(Database::File::Theme));
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*), MAX(Check1), MAX(Name) FROM Theme")) && q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QCOMPARE(q.value(1).toString(), QStringLiteral("0"));
    QCOMPARE(q.value(2).toString(), QString());
    q.finish();
    const QStringList copies = QDir(AppPaths::backupDir()).entryList({ QStringLiteral("*.sknB") }, QDir::Files);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(fileDigest(QDir(AppPaths::backupDir()).filePath(copies.first())), before);

    // A file with its row is opened as it is: no second copy, no second row.
    Database::closeAll();
    QVERIFY2(Database::open(Database::File::Theme, &error), qPrintable(error));
    QSqlQuery again(Database::connection(Database::File::Theme));
    QVERIFY(again.exec(QStringLiteral("SELECT COUNT(*) FROM Theme")) && again.next());
    QCOMPARE(again.value(0).toInt(), 1);
    QCOMPARE(QDir(AppPaths::backupDir()).entryList({ QStringLiteral("*.sknB") }, QDir::Files).size(), 1);
}

void TestDatabase::fileFailuresAreSaidInPersian_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("said");
    const QString missing = QDir::temp().absoluteFilePath(QStringLiteral("no-such-folder-7f3a/file.pdf"));
    QTest::newRow("disk full") << "/dev/full" << true << DataTexts::diskFull;
    QTest::newRow("file not there") << missing << false << DataTexts::notFound.arg(QDir::toNativeSeparators(missing));
    QTest::newRow("folder not there") << missing << true << DataTexts::notFound.arg(QDir::toNativeSeparators(missing));
    QTest::newRow("a folder in its place") << QDir::tempPath() << true << DataTexts::ioError;
}

// What the user reads when a file cannot be written or read: the reason in
// Persian, never the system's English.
void TestDatabase::fileFailuresAreSaidInPersian()
{
    QFETCH(QString, path);
    QFETCH(bool, write);
    QFETCH(QString, said);
    QFile file(path);
    if (file.open(write ? QIODevice::WriteOnly : QIODevice::ReadOnly)) {
        QVERIFY(write);
        const QByteArray block(1 << 16, 'x');
        QVERIFY(file.write(block) != block.size() || !file.flush());
    }
    QVERIFY(file.error() != QFileDevice::NoError);
    QCOMPARE(FileFailureText(file), said);
}

void TestDatabase::lenientNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "12" << 12.0;
    QTest::newRow("blanks first") << "  24\r\n" << 24.0;
    QTest::newRow("trailing text") << "12abc" << 12.0;
    QTest::newRow("fraction") << "2.5" << 2.5;
    QTest::newRow("negative") << "-4" << -4.0;
    QTest::newRow("text") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("years") << "7 years" << 7.0;
    QTest::newRow("lone dot") << "." << 0.0;
}

void TestDatabase::lenientNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(LenientNumber(text), value);
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
