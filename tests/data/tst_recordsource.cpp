#include "ProgramFolder.h"
#include "data/Transaction.h"

#include <QSignalSpy>
#include <QSqlRecord>

class TestRecordSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void emptyTable();
    void storedOrderAndMoveLast();
    void otherSourcesSeeChangesAfterRefresh();
    void filterComparesExactText_data();
    void filterComparesExactText();
    void pendingValuesNeedUpdate();
    void deleteCurrentRemovesFromFile();
    void newRowFieldsStartEmpty();
    void longAndUnusualValuesRoundTrip();
    void rowValuesMatchTheFields();
    void transactionRollsBackBothTables();
    void sourcesOpenedTogetherStayIndependent();
    void ownWritesKeepTheSharedReadExact();

private:
    ProgramFolder *m_folder = nullptr;
};

void TestRecordSource::init()
{
    m_folder = new ProgramFolder;
    QVERIFY(m_folder->openAll());
}

void TestRecordSource::cleanup()
{
    delete m_folder;
    m_folder = nullptr;
}

void TestRecordSource::emptyTable()
{
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    QCOMPARE(s.rowCount(), 0);
    QVERIFY(s.atStart());
    s.moveLast();
    QVERIFY(s.atStart());
    QCOMPARE(s.field(QStringLiteral("Code")), QString());
    s.setFilter(QStringLiteral("code"), QStringLiteral("1"));
    QCOMPARE(s.rowCount(), 0);
    QVERIFY(s.update()); // nothing current, nothing written
}

void TestRecordSource::storedOrderAndMoveLast()
{
    for (const char *code : { "3", "1", "2" })
        addExaminee(QLatin1String(code));
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    QCOMPARE(s.rowCount(), 3);
    QCOMPARE(s.field(QStringLiteral("Code")), QStringLiteral("3"));
    s.moveLast();
    QCOMPARE(s.field(QStringLiteral("Code")), QStringLiteral("2"));
    s.movePrevious();
    QCOMPARE(s.field(QStringLiteral("CODE")), QStringLiteral("1"));
}

void TestRecordSource::otherSourcesSeeChangesAfterRefresh()
{
    addExaminee(QStringLiteral("1"), QStringLiteral("Old"));
    RecordSource a, b;
    QVERIFY(a.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(b.open(Database::File::Examinee, QStringLiteral("IDE")));

    a.setField(QStringLiteral("LName"), QStringLiteral("New"));
    QVERIFY(a.update());
    a.addNew();
    a.setField(QStringLiteral("Code"), QStringLiteral("2"));
    QVERIFY(a.update());

    QCOMPARE(b.rowCount(), 1);
    QCOMPARE(b.field(QStringLiteral("LName")), QStringLiteral("Old"));
    b.setFilter(QStringLiteral("Code"), QStringLiteral("2"));
    QCOMPARE(b.rowCount(), 0);

    QVERIFY(b.refresh());
    QVERIFY(!b.hasFilter());
    QCOMPARE(b.rowCount(), 2);
    QCOMPARE(b.field(QStringLiteral("LName")), QStringLiteral("New"));
}

void TestRecordSource::filterComparesExactText_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("7 is not 07") << QStringLiteral("7") << QStringList { QStringLiteral("7") };
    QTest::newRow("07 is not 7") << QStringLiteral("07") << QStringList { QStringLiteral("07") };
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien") << QStringList { QStringLiteral("O'Brien") };
    QTest::newRow("injection text is just text") << QStringLiteral("x' OR '1'='1") << QStringList();
    QTest::newRow("trailing blank kept") << QStringLiteral("7 ") << QStringList { QStringLiteral("7 ") };
    QTest::newRow("no match") << QStringLiteral("8") << QStringList();
}

void TestRecordSource::filterComparesExactText()
{
    QFETCH(QString, value);
    QFETCH(QStringList, found);
    for (const char *code : { "7", "07", "O'Brien", "7 ", "70" })
        addExaminee(QString::fromUtf8(code));
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    s.setFilter(QStringLiteral("code"), value);
    QStringList codes;
    for (int i = 0; i < s.rowCount(); ++i)
        codes << s.value(i, s.fieldIndex(QStringLiteral("Code")));
    QCOMPARE(codes, found);
    QCOMPARE(s.atStart(), found.isEmpty());
    s.clearFilter();
    QCOMPARE(s.rowCount(), 5);
}

void TestRecordSource::pendingValuesNeedUpdate()
{
    addExaminee(QStringLiteral("1"), QStringLiteral("Stored"));
    RecordSource s, reader;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    QSignalSpy changed(&s, &RecordSource::currentChanged);
    s.setField(QStringLiteral("LName"), QStringLiteral("Pending"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(s.field(QStringLiteral("LName")), QStringLiteral("Pending"));
    QVERIFY(reader.open(Database::File::Examinee, QStringLiteral("IDE")));
    QCOMPARE(reader.field(QStringLiteral("LName")), QStringLiteral("Stored"));

    s.cancelUpdate();
    QCOMPARE(s.field(QStringLiteral("LName")), QStringLiteral("Stored"));

    s.setField(QStringLiteral("LName"), QStringLiteral("Written"));
    QVERIFY(s.update());
    QVERIFY(!s.hasPending());
    QVERIFY(reader.refresh());
    QCOMPARE(reader.field(QStringLiteral("LName")), QStringLiteral("Written"));
}

void TestRecordSource::deleteCurrentRemovesFromFile()
{
    for (const char *code : { "1", "2", "3" })
        addExaminee(QLatin1String(code));
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    s.setFilter(QStringLiteral("Code"), QStringLiteral("2"));
    QVERIFY(s.deleteCurrent());
    QCOMPARE(s.rowCount(), 0);
    QVERIFY(s.atStart());

    s.refresh();
    QCOMPARE(s.rowCount(), 2);
    QVERIFY(s.deleteCurrent()); // "1"; "3" becomes current
    QCOMPARE(s.field(QStringLiteral("Code")), QStringLiteral("3"));
    QVERIFY(s.deleteCurrent());
    QVERIFY(s.atStart());

    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM IDE")) && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
}

void TestRecordSource::newRowFieldsStartEmpty()
{
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("Answer")));
    s.addNew();
    s.setField(QStringLiteral("Code"), QStringLiteral("5"));
    s.setField(QStringLiteral("3"), QStringLiteral("0"));
    QVERIFY(s.update());
    QVERIFY(s.refresh());
    QCOMPARE(s.rowCount(), 1);
    QCOMPARE(s.field(QStringLiteral("1")), QString());
    QCOMPARE(s.field(QStringLiteral("3")), QStringLiteral("0"));
    QCOMPARE(s.field(QStringLiteral("36")), QString());
}

void TestRecordSource::longAndUnusualValuesRoundTrip()
{
    const QString longText(70000, QLatin1Char('x'));
    const QString persian = QStringLiteral("نتيجه نامعتبر مي باشد");
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    s.addNew();
    s.setField(QStringLiteral("Code"), QStringLiteral("1"));
    s.setField(QStringLiteral("FName"), longText);
    s.setField(QStringLiteral("Hooshbahr"), persian);
    QVERIFY(s.update());
    QVERIFY(s.refresh());
    QCOMPARE(s.field(QStringLiteral("FName")), longText);
    QCOMPARE(s.field(QStringLiteral("Hooshbahr")), persian);
    QCOMPARE(s.field(QStringLiteral("Code")), QStringLiteral("1"));
}

// The whole-row read gives what value() gives, field by field: long texts
// (a longer length prefix), empty ones, pending values, the filtered rows.
void TestRecordSource::rowValuesMatchTheFields()
{
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    for (const QString &code : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}) {
        s.addNew();
        s.setField(QStringLiteral("Code"), code);
        s.setField(QStringLiteral("FName"), code == QLatin1String("2") ? QString(70000, QLatin1Char('y')) : code);
        s.setField(QStringLiteral("Hooshbahr"), QStringLiteral("نتيجه نامعتبر مي باشد"));
        QVERIFY(s.update());
    }
    QVERIFY(s.refresh());
    s.setCurrentRow(2);
    s.setField(QStringLiteral("LName"), QStringLiteral("pending"));
    QStringList values;
    auto check = [&] {
        for (int r = 0; r < s.rowCount(); ++r) {
            s.rowValues(r, &values);
            QCOMPARE(values.size(), s.fieldNames().size());
            for (int f = 0; f < values.size(); ++f)
                QCOMPARE(values[f], s.value(r, f));
        }
    };
    check();
    s.rowValues(2, &values);
    QCOMPARE(values[s.fieldIndex(QStringLiteral("LName"))], QStringLiteral("pending"));
    s.setFilter(QStringLiteral("Code"), QStringLiteral("2"));
    check();
    s.rowValues(5, &values);
    QCOMPARE(values, QStringList(s.fieldNames().size(), QString()));
}

void TestRecordSource::transactionRollsBackBothTables()
{
    RecordSource ide, answer;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(answer.open(Database::File::Examinee, QStringLiteral("Answer")));
    {
        Transaction t(Database::File::Examinee);
        QVERIFY(t.isActive());
        ide.addNew();
        ide.setField(QStringLiteral("Code"), QStringLiteral("9"));
        QVERIFY(ide.update());
        answer.addNew();
        answer.setField(QStringLiteral("Code"), QStringLiteral("9"));
        QVERIFY(answer.update());
        // no commit: leaving the scope rolls both rows back
    }
    QVERIFY(ide.refresh());
    QVERIFY(answer.refresh());
    QCOMPARE(ide.rowCount(), 0);
    QCOMPARE(answer.rowCount(), 0);
}

// Sources over one unchanged table share a read; a change through any of
// them, or a rolled-back one, must still show up in the next read.
void TestRecordSource::sourcesOpenedTogetherStayIndependent()
{
    addExaminee(QStringLiteral("1"), QStringLiteral("A"));
    RecordSource a, b;
    QVERIFY(a.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(b.open(Database::File::Examinee, QStringLiteral("IDE")));
    a.setField(QStringLiteral("LName"), QStringLiteral("changed"));
    QCOMPARE(b.field(QStringLiteral("LName")), QStringLiteral("A")); // pending stays with a
    QVERIFY(a.update());
    QCOMPARE(b.field(QStringLiteral("LName")), QStringLiteral("A")); // b's snapshot is its own
    RecordSource c;
    QVERIFY(c.open(Database::File::Examinee, QStringLiteral("IDE")));
    QCOMPARE(c.field(QStringLiteral("LName")), QStringLiteral("changed"));

    {
        Transaction t(Database::File::Examinee);
        a.addNew();
        a.setField(QStringLiteral("Code"), QStringLiteral("2"));
        QVERIFY(a.update());
        RecordSource inside;
        QVERIFY(inside.open(Database::File::Examinee, QStringLiteral("IDE")));
        QCOMPARE(inside.rowCount(), 2);
    }
    RecordSource after;
    QVERIFY(after.open(Database::File::Examinee, QStringLiteral("IDE")));
    QCOMPARE(after.rowCount(), 1);

    // A change committed through another connection is seen too.
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(AppPaths::examineeDatabase());
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec(QStringLiteral("UPDATE IDE SET LName = 'elsewhere'")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    QVERIFY(b.refresh());
    QCOMPARE(b.field(QStringLiteral("LName")), QStringLiteral("elsewhere"));
}

namespace {

// Every row of a source, as "rowid|value|value...".
QStringList rowsOf(const RecordSource &s)
{
    QStringList rows;
    for (int r = 0; r < s.rowCount(); ++r) {
        QStringList values;
        for (int f = 0; f < s.fieldNames().size(); ++f)
            values << s.value(r, f);
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

// The same rows as the file holds them, read apart from any source.
QStringList rowsInFile(const QString &table)
{
    QSqlQuery q(Database::connection(Database::File::Examinee));
    q.setForwardOnly(true);
    q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int f = 0; f < q.record().count(); ++f)
            values << q.value(f).toString();
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

// Writes through a source keep the shared read of the table current; what
// a refresh then shows must be exactly what the file holds, also when a
// write changed more rows than its own.
void TestRecordSource::ownWritesKeepTheSharedReadExact()
{
    for (const char *code : { "1", "2", "3" })
        addExaminee(QLatin1String(code), QStringLiteral("L") + QLatin1String(code));
    QSqlQuery sql(Database::connection(Database::File::Examinee));
    QVERIFY(sql.exec(QStringLiteral("UPDATE IDE SET Sen = NULL")));
    RecordSource a, b, answers;
    QVERIFY(a.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(b.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(answers.open(Database::File::Examinee, QStringLiteral("Answer")));
    const auto check = [&](const char *step) {
        QVERIFY2(b.refresh(), step);
        QVERIFY2(rowsOf(b) == rowsInFile(QStringLiteral("IDE")), step);
        QVERIFY2(answers.refresh(), step);
        QVERIFY2(rowsOf(answers) == rowsInFile(QStringLiteral("Answer")), step);
    };

    a.setCurrentRow(1);
    a.setField(QStringLiteral("LName"), QStringLiteral("نام تازه"));
    QVERIFY(a.update());
    check("a value changed");
    a.addNew();
    a.setField(QStringLiteral("Code"), QStringLiteral("4"));
    QVERIFY(a.update());
    check("a row added, its other fields left empty");
    a.moveFirst();
    QVERIFY(a.deleteCurrent());
    check("the first row deleted");
    a.addNew();
    a.setField(QStringLiteral("Code"), QStringLiteral("5"));
    QVERIFY(a.update());
    QVERIFY(a.deleteCurrent());
    check("a row added and deleted again");

    QVERIFY(sql.exec(QStringLiteral("CREATE TRIGGER spread AFTER UPDATE OF LName ON IDE BEGIN"
                                    " UPDATE IDE SET Tahsil = NEW.LName WHERE rowid <> NEW.rowid; END")));
    a.moveFirst();
    a.setField(QStringLiteral("LName"), QStringLiteral("everywhere"));
    QVERIFY(a.update());
    check("a trigger changed the other rows");
    QVERIFY(sql.exec(QStringLiteral("CREATE TRIGGER fill AFTER INSERT ON IDE BEGIN"
                                    " UPDATE IDE SET Jens = 'set' WHERE rowid = NEW.rowid; END")));
    a.addNew();
    a.setField(QStringLiteral("Code"), QStringLiteral("6"));
    QVERIFY(a.update());
    check("a trigger filled the added row");

    RecordSource answer;
    QVERIFY(answer.open(Database::File::Examinee, QStringLiteral("Answer")));
    answer.addNew();
    answer.setField(QStringLiteral("Code"), QStringLiteral("2"));
    QVERIFY(answer.update());
    check("another table written");
    QVERIFY(sql.exec(QStringLiteral("CREATE TRIGGER reach AFTER UPDATE ON Answer BEGIN"
                                    " UPDATE IDE SET Azmayande = NEW.\"1\"; END")));
    answer.setField(QStringLiteral("1"), QStringLiteral("3"));
    QVERIFY(answer.update());
    check("another table's trigger changed this one");
    QVERIFY(sql.exec(QStringLiteral("DROP TRIGGER reach")));
    QVERIFY(sql.exec(QStringLiteral("DROP TRIGGER spread")));
    QVERIFY(sql.exec(QStringLiteral("DROP TRIGGER fill")));
    check("triggers gone");

    // Writes in a transaction count once committed, and never when rolled back.
    const auto pair = [&](const QString &code, bool commit) {
        Transaction t(Database::File::Examinee);
        QVERIFY(t.isActive());
        a.addNew();
        a.setField(QStringLiteral("Code"), code);
        QVERIFY(a.update());
        answer.addNew();
        answer.setField(QStringLiteral("Code"), code);
        QVERIFY(answer.update());
        answer.setField(QStringLiteral("2"), QStringLiteral("5"));
        QVERIFY(answer.update());
        if (commit)
            QVERIFY(t.commit());
    };
    pair(QStringLiteral("8"), true);
    check("two tables written in a transaction");
    pair(QStringLiteral("9"), false);
    check("a transaction rolled back");
    {
        Transaction t(Database::File::Examinee);
        a.addNew();
        a.setField(QStringLiteral("Code"), QStringLiteral("10"));
        QVERIFY(a.update());
        QVERIFY(sql.exec(QStringLiteral("UPDATE Answer SET \"3\" = '1'")));
        QVERIFY(t.commit());
    }
    check("a transaction with a write of its own");
}

QTEST_GUILESS_MAIN(TestRecordSource)
#include "tst_recordsource.moc"
