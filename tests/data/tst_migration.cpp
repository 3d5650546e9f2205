#include "ProgramFolder.h"
#include "calendar/Clock.h"
#include "data/DataTexts.h"
#include "data/Migration.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QUuid>

namespace {

// A connection of its own for the duration of \a work.
template <typename Work> void withDatabase(const QString &path, Work work)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void runSql(const QString &path, const QStringList &sql)
{
    withDatabase(path, [&](QSqlDatabase db) {
        QSqlQuery q(db);
        for (const QString &s : sql)
            QVERIFY2(q.exec(s), qPrintable(s + QLatin1Char(' ') + q.lastError().text()));
    });
}

QStringList numbered(int from, int to, const char *suffix = "")
{
    QStringList l;
    for (int i = from; i <= to; ++i)
        l << QString::number(i) + QLatin1String(suffix);
    return l;
}

// The examinee file as layout 1 wrote it, spelt out here so that it stays
// that layout whatever Schema becomes.
const QStringList kIdeV1 = { "Code", "FName", "LName", "Jens", "Sen", "Tahsil", "Group", "DateEjra", "DateTavalod",
    "Azmayande", "NKham", "RDarsadi", "Hooshbahr" };

QString createTable(const QString &table, const QStringList &fields)
{
    QStringList columns;
    for (const QString &f : fields)
        columns << Schema::quoted(f) + QStringLiteral(" TEXT");
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(Schema::quoted(table), columns.join(QLatin1Char(',')));
}

struct V1Row
{
    QString code, birth, test;
    QVariant ageMonths; // what the upgrade must store
};

const QVector<V1Row> kRows = {
    { "1", "1394/01/15", "1401/05/20", 88 },
    { "2", "۱۳۹۴/۱/۱۵", "١٤٠١-٠٥-٢٠", 88 },
    { "3", "1401/05/20", "1401/05/20", QVariant() }, // the panel's two todays: no birth date
    { "4", "1401/05/21", "1401/05/20", QVariant() }, // born after the test
    { "5", "1398/12/30", "1401/05/20", QVariant() }, // no such day
    { "6", "", "", QVariant() },
    { "7", "7 ساله", "1401/05/20", QVariant() },
    { "8", "1399/12/30", "1400/12/29", 12 },
};

// Writes a layout-1 file at \a path with kRows in IDE, their Answer rows and
// two norms rows; every value distinct, so a shifted column shows.
void createV1File(const QString &path)
{
    QFile::remove(path);
    QStringList sql = { createTable("IDE", kIdeV1), createTable("Answer", QStringList { "Code" } + numbered(1, 36)),
        createTable("PPP", QStringList { "Code" } + numbered(5, 10) + numbered(5, 10, "p")),
        QStringLiteral("PRAGMA application_id = %1").arg(Schema::kExamineeApplicationId),
        QStringLiteral("PRAGMA user_version = 1") };
    withDatabase(path, [&](QSqlDatabase db) {
        QSqlQuery q(db);
        for (const QString &s : sql)
            QVERIFY2(q.exec(s), qPrintable(s));
        for (const V1Row &r : kRows) {
            q.prepare(QStringLiteral("INSERT INTO IDE VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
            for (const QString &f : kIdeV1) {
                if (f == QLatin1String("DateTavalod"))
                    q.addBindValue(r.birth);
                else if (f == QLatin1String("DateEjra"))
                    q.addBindValue(r.test);
                else
                    q.addBindValue(f + QLatin1Char('-') + r.code);
            }
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
            QVERIFY(
                q.exec(QStringLiteral("INSERT INTO Answer (Code, \"1\", \"36\") VALUES ('%1', '3', '0')").arg(r.code)));
        }
        QVERIFY(q.exec(
            QStringLiteral("INSERT INTO PPP (Code, \"5\", \"10p\") VALUES ('5', '70', '1'), ('36', '140', '99')")));
    });
}

// Every table as text rows, fields in stored order.
QMap<QString, QList<QVariantList>> dump(const QString &path, const QStringList &tables)
{
    QMap<QString, QList<QVariantList>> out;
    withDatabase(path, [&](QSqlDatabase db) {
        QSqlQuery q(db);
        for (const QString &t : tables) {
            QVERIFY(q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(Schema::quoted(t))));
            while (q.next()) {
                QVariantList row;
                for (int i = 0; i < q.record().count(); ++i)
                    row << q.value(i);
                out[t] << row;
            }
        }
    });
    return out;
}

int userVersion(const QString &path)
{
    int v = -1;
    withDatabase(path, [&](QSqlDatabase db) {
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
        v = q.value(0).toInt();
    });
    return v;
}

QStringList backFiles()
{
    return QDir(AppPaths::backupDir()).entryList(QDir::Files, QDir::Name);
}

bool g_stepsSeen[3];
bool stepAddTable(QSqlDatabase db, QString *error)
{
    g_stepsSeen[0] = true;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("CREATE TABLE Extra (Code TEXT)")))
        return true;
    *error = q.lastError().text();
    return false;
}
bool stepFillTable(QSqlDatabase db, QString *error)
{
    g_stepsSeen[1] = true;
    QSqlQuery q(db); // sees the table of the step before
    if (q.exec(QStringLiteral("INSERT INTO Extra SELECT Code FROM IDE")))
        return true;
    *error = q.lastError().text();
    return false;
}
bool stepRefuse(QSqlDatabase, QString *error)
{
    g_stepsSeen[2] = true;
    *error = QStringLiteral("refused");
    return false;
}

} // namespace

class TestMigration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 11), QTime(9, 5))); }
    void cleanup() { Clock::setFixed(QDateTime()); }
    void upgradesLayoutOneFieldByField();
    void upgradesLayoutTwoWithAnEmptyLog();
    void currentFileIsLeftAlone();
    void failingStepLeavesFileAsItWas_data();
    void failingStepLeavesFileAsItWas();
    void stepsRunInOrder_data();
    void stepsRunInOrder();
    void upgradesClinicProfileWithChildModeOff();
    void failingProfileUpgradeLeavesFileAsItWas();

private:
    void checkEmptyLog();
};

void TestMigration::upgradesLayoutOneFieldByField()
{
    ProgramFolder folder;
    const QString path = AppPaths::examineeDatabase();
    createV1File(path);
    const QByteArray v1 = fileDigest(path);
    const auto before = dump(path, { "IDE", "Answer", "PPP" });
    QCOMPARE(before.value("IDE").size(), kRows.size());

    QString error;
    QVERIFY2(Database::open(Database::File::Examinee, &error), qPrintable(error));
    Database::closeAll();

    QCOMPARE(userVersion(path), Schema::kSchemaVersion);
    // The dated safety copy holds the file exactly as it was.
    QCOMPARE(backFiles(), QStringList { QStringLiteral("DBres v1 before upgrade 1405.9.20 9.05.mdbB") });
    QCOMPARE(fileDigest(QDir(AppPaths::backupDir()).filePath(backFiles().first())), v1);

    const auto after = dump(path, { "IDE", "Answer", "PPP" });
    QCOMPARE(after.value("Answer"), before.value("Answer"));
    QCOMPARE(after.value("PPP"), before.value("PPP"));
    const QList<QVariantList> ide = after.value("IDE");
    QCOMPARE(ide.size(), kRows.size());
    for (int r = 0; r < kRows.size(); ++r) {
        const QVariantList &row = ide[r];
        QCOMPARE(row.size(), kIdeV1.size() + 1);
        for (int f = 0; f < kIdeV1.size(); ++f)
            QCOMPARE(row[f], before.value("IDE")[r][f]);
        const QVariant age = row.last();
        QVERIFY2(age.isNull() == kRows[r].ageMonths.isNull(), qPrintable(kRows[r].code));
        if (!age.isNull())
            QCOMPARE(age.toInt(), kRows[r].ageMonths.toInt());
    }

    // The program reads the new field; a second open upgrades nothing.
    QVERIFY(Database::open(Database::File::Examinee, &error));
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    QCOMPARE(s.field(QStringLiteral("AgeMonths")), QStringLiteral("88"));
    QCOMPARE(backFiles().size(), 1);
    checkEmptyLog();
}

// A layout-2 file gains the click log, empty and indexed; nothing else moves.
void TestMigration::upgradesLayoutTwoWithAnEmptyLog()
{
    ProgramFolder folder;
    const QString path = AppPaths::examineeDatabase();
    createV1File(path);
    runSql(path,
        { QStringLiteral("ALTER TABLE IDE ADD COLUMN AgeMonths INTEGER"),
            QStringLiteral("UPDATE IDE SET AgeMonths = 88 WHERE Code = '1'"),
            QStringLiteral("PRAGMA user_version = 2") });
    const QByteArray v2 = fileDigest(path);
    const auto before = dump(path, { "IDE", "Answer", "PPP" });
    QString error;
    QVERIFY2(Database::open(Database::File::Examinee, &error), qPrintable(error));
    QCOMPARE(backFiles(), QStringList { QStringLiteral("DBres v2 before upgrade 1405.9.20 9.05.mdbB") });
    QCOMPARE(fileDigest(QDir(AppPaths::backupDir()).filePath(backFiles().first())), v2);
    Database::closeAll();
    QCOMPARE(userVersion(path), 3);
    QCOMPARE(dump(path, { "IDE", "Answer", "PPP" }), before);
    QVERIFY(Database::open(Database::File::Examinee, &error));
    checkEmptyLog();
}

void TestMigration::checkEmptyLog()
{
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM AnswerLog")) && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    QVERIFY(q.exec(QStringLiteral("SELECT name FROM pragma_table_info('AnswerLog')")));
    QStringList fields;
    while (q.next())
        fields << q.value(0).toString();
    QCOMPARE(fields, Schema::answerLog().fields);
    QVERIFY(q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = 'AnswerLog_Code'")));
    QVERIFY(q.next());
}

void TestMigration::currentFileIsLeftAlone()
{
    ProgramFolder folder;
    const QByteArray before = fileDigest(AppPaths::examineeDatabase());
    QString error;
    QCOMPARE(Migration::upgradeExaminee(AppPaths::examineeDatabase(), &error), Migration::Outcome::Current);
    QCOMPARE(fileDigest(AppPaths::examineeDatabase()), before);
    QVERIFY(backFiles().isEmpty());
}

void TestMigration::failingStepLeavesFileAsItWas_data()
{
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<int>("failingLayout");
    // The fill of AgeMonths meets a trigger that refuses the update.
    QTest::newRow("update refused")
        << "CREATE TRIGGER refuse BEFORE UPDATE ON IDE BEGIN SELECT RAISE(ABORT, 'no updates'); END" << 1;
    // The field is there already (a file edited by hand).
    QTest::newRow("field present") << "ALTER TABLE IDE ADD COLUMN AgeMonths TEXT" << 1;
    // The second step fails after the first succeeded: both are undone.
    QTest::newRow("log present") << "CREATE TABLE AnswerLog (Code TEXT)" << 2;
}

void TestMigration::failingStepLeavesFileAsItWas()
{
    QFETCH(QString, refusal);
    QFETCH(int, failingLayout);
    ProgramFolder folder;
    const QString path = AppPaths::examineeDatabase();
    createV1File(path);
    runSql(path, { refusal });
    const QByteArray before = fileDigest(path);

    QString error;
    QVERIFY(!Database::open(Database::File::Examinee, &error));
    // Said in Persian, never in SQLite's English.
    QCOMPARE(
        error, QStringLiteral("DBres.mdb: ") + DataTexts::upgradeFailed.arg(failingLayout).arg(DataTexts::storeFailed));
    QCOMPARE(fileDigest(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QCOMPARE(backFiles().size(), 1); // the copy was made before the step
}

void TestMigration::stepsRunInOrder_data()
{
    QTest::addColumn<bool>("lastRefuses");
    QTest::newRow("all pass") << false;
    QTest::newRow("the third refuses") << true;
}

// Steps 1->2->3->4 in one upgrade: each sees what the one before did, and
// a refusal at the end undoes all of them.
void TestMigration::stepsRunInOrder()
{
    QFETCH(bool, lastRefuses);
    ProgramFolder folder;
    const QString path = AppPaths::examineeDatabase();
    createV1File(path);
    const QByteArray before = fileDigest(path);
    std::fill(std::begin(g_stepsSeen), std::end(g_stepsSeen), false);
    const QVector<Migration::Step> steps
        = { { 2, stepFillTable }, { 1, stepAddTable }, { 3, lastRefuses ? stepRefuse : stepFillTable } };
    QString error, copy;
    const Migration::Outcome outcome = Migration::upgrade(path, steps, 4, &error, &copy);
    QVERIFY(g_stepsSeen[0] && g_stepsSeen[1]);
    QCOMPARE(g_stepsSeen[2], lastRefuses);
    QCOMPARE(fileDigest(copy), before);
    if (lastRefuses) {
        QCOMPARE(outcome, Migration::Outcome::Failed);
        QCOMPARE(error, QStringLiteral("DBres.mdb: ") + DataTexts::upgradeFailed.arg(3).arg(QStringLiteral("refused")));
        QCOMPARE(fileDigest(path), before);
        return;
    }
    QCOMPARE(outcome, Migration::Outcome::Upgraded);
    QCOMPARE(userVersion(path), 4);
    QCOMPARE(dump(path, { "Extra" }).value("Extra").size(), 2 * kRows.size());
    // Now newer than the program's own layout: refused, unchanged.
    const QByteArray upgraded = fileDigest(path);
    QCOMPARE(Migration::upgradeExaminee(path, &error), Migration::Outcome::Failed);
    QCOMPARE(error, QStringLiteral("DBres.mdb: ") + DataTexts::newer.arg(4).arg(Schema::kSchemaVersion));
    QCOMPARE(fileDigest(path), upgraded);
}

namespace {

// The clinic profile as layout 1 wrote it: nine text fields, one row.
const QStringList kThemeV1 = { "Name", "Adress", "T1", "T2", "T3", "T4", "T5", "T6", "Check1" };

void createThemeV1File(const QString &path)
{
    QFile::remove(path);
    QStringList values;
    for (const QString &f : kThemeV1)
        values << QStringLiteral("'%1 value'").arg(f);
    values.last() = QStringLiteral("'1'");
    runSql(path,
        { createTable("Theme", kThemeV1),
            QStringLiteral("INSERT INTO Theme VALUES (%1)").arg(values.join(QLatin1Char(','))),
            QStringLiteral("PRAGMA application_id = %1").arg(Schema::kThemeApplicationId),
            QStringLiteral("PRAGMA user_version = 1") });
}

} // namespace

// A layout-1 profile gains child mode, off; its copy is kept in Back first
// and nothing else moves.
void TestMigration::upgradesClinicProfileWithChildModeOff()
{
    ProgramFolder folder;
    const QString path = AppPaths::themeDatabase();
    createThemeV1File(path);
    const QByteArray v1 = fileDigest(path);
    const auto before = dump(path, { "Theme" });

    QString error;
    QVERIFY2(Database::open(Database::File::Theme, &error), qPrintable(error));
    QCOMPARE(backFiles(), QStringList { QStringLiteral("Theme v1 before upgrade 1405.9.20 9.05.sknB") });
    QCOMPARE(fileDigest(QDir(AppPaths::backupDir()).filePath(backFiles().first())), v1);
    RecordSource theme;
    QVERIFY(theme.open(Database::File::Theme, QStringLiteral("Theme")));
    QCOMPARE(theme.field(QStringLiteral("ChildMode")), QStringLiteral("0"));
    QCOMPARE(theme.field(QStringLiteral("Check1")), QStringLiteral("1"));
    // The switch is stored and read back like any field of the profile.
    theme.setField(QStringLiteral("ChildMode"), QStringLiteral("1"));
    QVERIFY(theme.update());
    Database::closeAll();

    QCOMPARE(userVersion(path), Schema::kThemeSchemaVersion);
    const QList<QVariantList> rows = dump(path, { "Theme" }).value("Theme");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].size(), kThemeV1.size() + 1);
    QCOMPARE(rows[0].mid(0, kThemeV1.size()), before.value("Theme")[0]);
    QCOMPARE(rows[0].last().toInt(), 1);
    // A second open upgrades nothing.
    QVERIFY(Database::open(Database::File::Theme, &error));
    QCOMPARE(backFiles().size(), 1);
    // A new profile starts at the current layout with child mode off.
    const QString fresh = QDir(folder.dir.path()).filePath(QStringLiteral("new.skn"));
    QVERIFY(Schema::createThemeFile(fresh, &error));
    QCOMPARE(userVersion(fresh), 2);
    QCOMPARE(dump(fresh, { "Theme" }).value("Theme")[0].last().toInt(), 0);
}

void TestMigration::failingProfileUpgradeLeavesFileAsItWas()
{
    ProgramFolder folder;
    const QString path = AppPaths::themeDatabase();
    createThemeV1File(path);
    runSql(path, { QStringLiteral("ALTER TABLE Theme ADD COLUMN ChildMode TEXT") }); // edited by hand
    const QByteArray before = fileDigest(path);
    QString error;
    QVERIFY(!Database::open(Database::File::Theme, &error));
    QCOMPARE(error, QStringLiteral("Theme.skn: ") + DataTexts::upgradeFailed.arg(1).arg(DataTexts::storeFailed));
    QCOMPARE(fileDigest(path), before);
    QCOMPARE(backFiles().size(), 1);
}

QTEST_GUILESS_MAIN(TestMigration)
#include "tst_migration.moc"
