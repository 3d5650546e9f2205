#include "data/Schema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kHeader = QStringLiteral("Code,5,6,7,8,9,10,5p,6p,7p,8p,9p,10p");

// A sound table: one row per raw score 5 to 36, made up but all numbers.
QStringList soundRows()
{
    QStringList rows;
    for (int raw = 5; raw <= 36; ++raw) {
        QStringList cells { QString::number(raw) };
        for (int age = 5; age <= 10; ++age)
            cells << QString::number(40 + 3 * raw - age);
        for (int age = 5; age <= 10; ++age)
            cells << QString::number(qBound(1, 3 * raw - 2 * age, 99));
        rows << cells.join(QLatin1Char(','));
    }
    return rows;
}

// The row of raw score \a raw (line 2 is raw score 5).
int lineOf(int raw)
{
    return raw - 5 + 2;
}

} // namespace

class TestMakeDb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normsAreChecked_data();
    void normsAreChecked();
};

void TestMakeDb::normsAreChecked_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("fault"); // empty: the files are made

    const QStringList sound = soundRows();
    QTest::newRow("sound") << sound << QString();
    QStringList withBlanks = sound;
    withBlanks[3] = withBlanks[3].replace(QLatin1Char(','), QStringLiteral(" , "));
    QTest::newRow("blanks around cells") << withBlanks << QString();

    QStringList missing = sound;
    missing.removeAt(12); // raw score 17
    QTest::newRow("raw score missing") << missing << QStringLiteral("no row for raw score 17");
    QStringList twice = sound;
    twice.insert(20, sound[9]); // raw score 14 again on line 22
    QTest::newRow("raw score twice")
        << twice << QStringLiteral("line %1: raw score 14 again (first on line %2)").arg(20 + 2).arg(lineOf(14));
    QStringList word = sound;
    word[5].replace(QStringLiteral("10,"), QStringLiteral("ده,")); // raw score 10, column 5
    QTest::newRow("a word for a number") << word << QStringLiteral("line %1: ده is not a number").arg(lineOf(10));
    QStringList empty = sound;
    empty[31] = QStringLiteral("36,,1,1,1,1,1,1,1,1,1,1,1");
    QTest::newRow("empty cell") << empty << QStringLiteral("line %1:  is not a number in column 5").arg(lineOf(36));
    QStringList fraction = sound;
    fraction[0].replace(0, 1, QStringLiteral("5.5"));
    QTest::newRow("raw score not whole") << fraction << QStringLiteral("line 2: raw score 5.5 is not one of 5 to 36");
    QStringList beyond = sound;
    beyond << QStringLiteral("37,1,1,1,1,1,1,1,1,1,1,1,1");
    QTest::newRow("raw score beyond 36") << beyond << QStringLiteral("line 34: raw score 37 is not one of 5 to 36");
    QStringList short_ = sound;
    short_[2] = QStringLiteral("7,1,1,1");
    QTest::newRow("short row") << short_ << QStringLiteral("line 4: 4 values, expected 13");
}

// A table that would give a wrong result is refused, naming the row, and
// no database is made from it.
void TestMakeDb::normsAreChecked()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, fault);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("norms.csv"));
    {
        QFile f(csv);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write((QStringList { kHeader } + rows).join(QLatin1Char('\n')).toUtf8() + '\n');
    }
    const QString out = dir.filePath(QStringLiteral("templates"));
    QProcess makedb;
    makedb.start(QStringLiteral(PELORIN_MAKEDB_EXE), { out, csv, dir.filePath(QStringLiteral("no-logo.png")) });
    QVERIFY(makedb.waitForFinished(30000));
    const QString err = QString::fromUtf8(makedb.readAllStandardError());
    const QString examinee = QDir(out).filePath(QStringLiteral("DBres.mdb"));
    if (!fault.isEmpty()) {
        QCOMPARE(makedb.exitCode(), 1);
        QVERIFY2(err.contains(fault), qPrintable(err));
        QVERIFY(!QFile::exists(examinee));
        return;
    }
    QVERIFY2(makedb.exitCode() == 0, qPrintable(err));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("made"));
        db.setDatabaseName(examinee);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(
            q.exec(QStringLiteral("SELECT COUNT(*), MIN(CAST(Code AS INTEGER)), MAX(CAST(Code AS INTEGER)) FROM PPP")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 32);
        QCOMPARE(q.value(1).toInt(), 5);
        QCOMPARE(q.value(2).toInt(), 36);
        // Cells are stored as numbers read, without the blanks around them.
        QVERIFY(q.exec(QStringLiteral("SELECT \"5\" FROM PPP WHERE Code = '8'")) && q.next());
        QCOMPARE(q.value(0).toString(), QString::number(40 + 3 * 8 - 5));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("made"));
}

QTEST_GUILESS_MAIN(TestMakeDb)
#include "tst_makedb.moc"
