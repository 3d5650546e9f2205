#include "ProgramFolder.h"
#include "data/AnswerLog.h"
#include "data/DataTexts.h"
#include "records/ExamineeRemoval.h"

#include <QSqlQuery>

class TestExamineeRemoval : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removesBothRows();
    void failureLeavesBothRows();
};

namespace {

void addAnswerRow(const QString &code)
{
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("Answer")));
    s.addNew();
    s.setField(QStringLiteral("Code"), code);
    QVERIFY(s.update());
    QString error;
    for (int item : { 1, 2, 1 })
        QVERIFY2(AnswerLog::append(Database::connection(Database::File::Examinee), code,
                     { item, 3, 900, QDateTime::currentDateTime() }, &error),
            qPrintable(error));
}

int count(const char *table, const QString &code)
{
    QSqlQuery q(Database::connection(Database::File::Examinee));
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Code = ?").arg(QLatin1String(table)));
    q.addBindValue(code);
    return q.exec() && q.next() ? q.value(0).toInt() : -1;
}

} // namespace

void TestExamineeRemoval::removesBothRows()
{
    ProgramFolder folder;
    QVERIFY(folder.openAll());
    for (const char *c : { "1", "2" }) {
        addExaminee(QLatin1String(c));
        addAnswerRow(QLatin1String(c));
    }
    RecordSource ide, answer;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(answer.open(Database::File::Examinee, QStringLiteral("Answer")));
    ide.setFilter(QStringLiteral("code"), QStringLiteral("2"));
    answer.setFilter(QStringLiteral("code"), QStringLiteral("2"));
    QString error;
    QVERIFY2(DeleteExamineeRows(ide, answer, &error), qPrintable(error));
    QCOMPARE(count("IDE", QStringLiteral("2")), 0);
    QCOMPARE(count("Answer", QStringLiteral("2")), 0);
    QCOMPARE(count("AnswerLog", QStringLiteral("2")), 0);
    QCOMPARE(count("IDE", QStringLiteral("1")), 1);
    QCOMPARE(count("Answer", QStringLiteral("1")), 1);
    QCOMPARE(count("AnswerLog", QStringLiteral("1")), 3);
}

// When the answer row cannot be deleted, the examinee row stays too.
void TestExamineeRemoval::failureLeavesBothRows()
{
    ProgramFolder folder;
    QVERIFY(folder.openAll());
    addExaminee(QStringLiteral("5"));
    addAnswerRow(QStringLiteral("5"));
    RecordSource ide, answer;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(answer.open(Database::File::Examinee, QStringLiteral("Answer")));
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral(
        "CREATE TRIGGER keep BEFORE DELETE ON Answer BEGIN SELECT RAISE(ABORT, 'answers are locked'); END")));
    QString error;
    QVERIFY(!DeleteExamineeRows(ide, answer, &error));
    QCOMPARE(error, DataTexts::storeFailed);
    QCOMPARE(count("IDE", QStringLiteral("5")), 1);
    QCOMPARE(count("Answer", QStringLiteral("5")), 1);
    QCOMPARE(count("AnswerLog", QStringLiteral("5")), 3);
    QCOMPARE(ide.rowCount(), 1); // re-read: the snapshot matches the file again
}

QTEST_GUILESS_MAIN(TestExamineeRemoval)
#include "tst_examineeremoval.moc"
