#include "ProgramFolder.h"
#include "common/LeadingNumber.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QUuid>

namespace {

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

void TestDatabase::brokenFilesAreRefusedUntouched_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("random bytes") << "bytes" << "DBres.mdb: not a database file";
    QTest::newRow("empty file") << "empty" << "DBres.mdb: not a database file";
    QTest::newRow("foreign sqlite") << "foreign" << "DBres.mdb: not a Pelorin examinee database";
    QTest::newRow("missing table") << "droptable" << "DBres.mdb: no such table: PPP";
    QTest::newRow("missing field") << "dropfield" << "DBres.mdb: no such field: IDE.Hooshbahr";
    QTest::newRow("newer schema") << "newer" << "DBres.mdb: made by a newer Pelorin";
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
            runSql(path, {QStringLiteral("CREATE TABLE IDE (Code TEXT)")});
    } else if (damage == QLatin1String("droptable")) {
        runSql(path, {QStringLiteral("DROP TABLE PPP")});
    } else if (damage == QLatin1String("dropfield")) {
        runSql(path, {QStringLiteral("ALTER TABLE IDE DROP COLUMN Hooshbahr")});
    } else {
        runSql(path, {QStringLiteral("PRAGMA user_version = 99")});
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
    QVERIFY2(error.startsWith(QStringLiteral("Theme.skn: file not found")), qPrintable(error));
    QVERIFY(!QFile::exists(AppPaths::themeDatabase()));
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
