#include "ProgramFolder.h"
#include "data/DataTexts.h"
#include "data/RecordSourceTexts.h"
#include "data/Transaction.h"

#include <QSignalSpy>
#include <QSqlError>
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
    void sourcesKeepTheirOwnSnapshots();
    void updateFailsWithoutItsRow();
    void refreshOfAnUnchangedFileDropsEdits();
    void refreshWhereReadsOnlyMatchingRows_data();
    void refreshWhereReadsOnlyMatchingRows();
    void refreshWhereSeesAnotherConnectionsCommit();
    void clearFilterReadsTheWholeTableKeepingEdits();
    void filterBeyondTheKeyReadsTheWholeTable();
    void refreshWhereRefusesAnUnknownField();
    void deleteWithoutARowFails();
    void failedReadIsAnnounced_data();
    void failedReadIsAnnounced();
    void lockedStoreSaysSoInPersian();

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
    QVERIFY(s.tableIsEmpty());
    addExaminee(QStringLiteral("1"));
    QVERIFY(!s.tableIsEmpty()); // asked of the file, not the snapshot
    QCOMPARE(s.rowCount(), 0);
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
    for (const QString &code : { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3") }) {
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

namespace {

// The rows of a source, as "value|value|...".
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
QStringList rowsInFile(const QString &table, const QString &code = QString())
{
    QSqlQuery q(Database::connection(Database::File::Examinee));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT * FROM %1 %2 ORDER BY rowid")
                  .arg(table, code.isNull() ? QString() : QStringLiteral("WHERE Code = ?")));
    if (!code.isNull())
        q.addBindValue(code);
    q.exec();
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int f = 0; f < q.record().count(); ++f)
            values << q.value(f).toString();
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

// Runs \a sql through a connection of its own, as another program would.
void elsewhere(const QString &sql)
{
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(AppPaths::examineeDatabase());
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

} // namespace

// Each source keeps its own snapshot until it reads again, also when a
// write through another one is rolled back.
void TestRecordSource::sourcesKeepTheirOwnSnapshots()
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

    RecordSource inside;
    {
        Transaction t(Database::File::Examinee);
        a.addNew();
        a.setField(QStringLiteral("Code"), QStringLiteral("2"));
        QVERIFY(a.update());
        QVERIFY(inside.open(Database::File::Examinee, QStringLiteral("IDE")));
        QCOMPARE(inside.rowCount(), 2);
    }
    // What was read inside the transaction went with its rollback.
    QVERIFY(inside.refresh());
    QCOMPARE(rowsOf(inside), rowsInFile(QStringLiteral("IDE")));
    QVERIFY(c.refresh());
    QCOMPARE(rowsOf(c), rowsInFile(QStringLiteral("IDE")));
    RecordSource after;
    QVERIFY(after.open(Database::File::Examinee, QStringLiteral("IDE")));
    QCOMPARE(rowsOf(after), rowsInFile(QStringLiteral("IDE")));
    QCOMPARE(after.rowCount(), 1);

    elsewhere(QStringLiteral("UPDATE IDE SET LName = 'elsewhere', Sen = NULL"));
    QCOMPARE(b.field(QStringLiteral("LName")), QStringLiteral("A"));
    QVERIFY(b.refresh());
    QCOMPARE(b.field(QStringLiteral("LName")), QStringLiteral("elsewhere"));
    QCOMPARE(b.field(QStringLiteral("Sen")), QString());
}

// Nothing changed in the file since the read: a refresh still drops the
// filter, the pending values and the rows not stored.
void TestRecordSource::refreshOfAnUnchangedFileDropsEdits()
{
    for (const char *code : { "1", "2" })
        addExaminee(QLatin1String(code), QStringLiteral("stored"));
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(s.refresh());
    s.setField(QStringLiteral("LName"), QStringLiteral("pending"));
    s.addNew();
    s.setField(QStringLiteral("Code"), QStringLiteral("3"));
    s.setFilter(QStringLiteral("Code"), QStringLiteral("3"));
    QSignalSpy rows(&s, &RecordSource::rowsChanged);
    QVERIFY(s.refresh());
    QCOMPARE(rows.count(), 1);
    QVERIFY(!s.hasFilter());
    QVERIFY(!s.hasPending());
    QCOMPARE(rowsOf(s), rowsInFile(QStringLiteral("IDE")));
    QCOMPARE(s.field(QStringLiteral("LName")), QStringLiteral("stored"));
    // And a file that changed is read again: here through a connection
    // that closed and opened again in between.
    Database::closeAll();
    elsewhere(QStringLiteral("UPDATE IDE SET LName = 'changed'"));
    QVERIFY(m_folder->openAll());
    QVERIFY(s.refresh());
    QCOMPARE(s.field(QStringLiteral("LName")), QStringLiteral("changed"));
    // Opened again on another table, unchanged too, it reads that table.
    QVERIFY(s.refresh());
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("Answer")));
    QCOMPARE(s.fieldNames(), Schema::answer().fields);
    QCOMPARE(s.rowCount(), 0);
}

void TestRecordSource::updateFailsWithoutItsRow()
{
    addExaminee(QStringLiteral("1"), QStringLiteral("A"));
    RecordSource edit, other;
    QVERIFY(edit.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(other.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(other.deleteCurrent());
    edit.setField(QStringLiteral("LName"), QStringLiteral("B"));
    QString error;
    QVERIFY(!edit.update(&error));
    QCOMPARE(error, RecordSourceTexts::rowDeletedElsewhere);
    QVERIFY(edit.hasPending()); // nothing was stored, and nothing is lost from view
    QCOMPARE(edit.field(QStringLiteral("LName")), QStringLiteral("B"));
    QCOMPARE(rowsInFile(QStringLiteral("IDE")), QStringList());

    // Nothing current: there is nothing to store, which is no success.
    QVERIFY(edit.refresh());
    QVERIFY(edit.atStart());
    error.clear();
    QVERIFY(!edit.update(&error));
    QCOMPARE(error, RecordSourceTexts::noCurrentRow);
}

void TestRecordSource::refreshWhereReadsOnlyMatchingRows_data()
{
    filterComparesExactText_data();
}

void TestRecordSource::refreshWhereReadsOnlyMatchingRows()
{
    QFETCH(QString, value);
    QFETCH(QStringList, found);
    for (const char *code : { "7", "07", "O'Brien", "7 ", "70" })
        addExaminee(QString::fromUtf8(code), QStringLiteral("L") + QString::fromUtf8(code));
    RecordSource s;
    QVERIFY(s.openWhere(Database::File::Examinee, QStringLiteral("IDE"), QStringLiteral("code"), value));
    QVERIFY(s.isKeyed());
    QVERIFY(s.hasFilter());
    QCOMPARE(s.fieldNames(), Schema::ide().fields);
    QStringList codes;
    for (int i = 0; i < s.rowCount(); ++i)
        codes << s.value(i, s.fieldIndex(QStringLiteral("Code")));
    QCOMPARE(codes, found);
    QCOMPARE(rowsOf(s), rowsInFile(QStringLiteral("IDE"), value));
    QCOMPARE(s.atStart(), found.isEmpty());
    // Filtering on its own key keeps to what was read.
    s.setFilter(QStringLiteral("CODE"), value);
    QVERIFY(s.isKeyed());
    QCOMPARE(s.rowCount(), found.size());
}

// Answer rows of one code, in stored order, written by another connection
// after the source read: seen at the next keyed read, not before.
void TestRecordSource::refreshWhereSeesAnotherConnectionsCommit()
{
    RecordSource s;
    QVERIFY(
        s.openWhere(Database::File::Examinee, QStringLiteral("Answer"), QStringLiteral("Code"), QStringLiteral("5")));
    QVERIFY(s.atStart());
    elsewhere(QStringLiteral("INSERT INTO Answer (Code, \"1\") VALUES ('5', '2'), ('6', '3'), ('5', '4')"));
    QCOMPARE(s.rowCount(), 0);
    QVERIFY(s.refreshWhere(QStringLiteral("Code"), QStringLiteral("5")));
    QCOMPARE(s.rowCount(), 2);
    QCOMPARE(s.field(QStringLiteral("1")), QStringLiteral("2"));
    s.moveLast();
    QCOMPARE(s.field(QStringLiteral("1")), QStringLiteral("4"));
    QCOMPARE(rowsOf(s), rowsInFile(QStringLiteral("Answer"), QStringLiteral("5")));

    // A keyed source writes like any other.
    s.setField(QStringLiteral("36"), QStringLiteral("6"));
    QVERIFY(s.update());
    QCOMPARE(rowsOf(s), rowsInFile(QStringLiteral("Answer"), QStringLiteral("5")));
    elsewhere(QStringLiteral("UPDATE Answer SET \"1\" = '1' WHERE Code = '5'"));
    QVERIFY(s.refreshWhere(QStringLiteral("Code"), QStringLiteral("5")));
    QCOMPARE(s.field(QStringLiteral("1")), QStringLiteral("1"));
}

void TestRecordSource::clearFilterReadsTheWholeTableKeepingEdits()
{
    for (const char *code : { "1", "2" })
        addExaminee(QLatin1String(code), QStringLiteral("stored"));
    RecordSource s;
    QVERIFY(s.openWhere(Database::File::Examinee, QStringLiteral("IDE"), QStringLiteral("Code"), QStringLiteral("2")));
    s.setField(QStringLiteral("LName"), QStringLiteral("pending"));
    s.addNew();
    s.setField(QStringLiteral("Code"), QStringLiteral("new"));
    addExaminee(QStringLiteral("3"), QStringLiteral("elsewhere"));
    QSignalSpy rows(&s, &RecordSource::rowsChanged);

    s.clearFilter();
    QCOMPARE(rows.count(), 1);
    QVERIFY(!s.isKeyed());
    QVERIFY(!s.hasFilter());
    QStringList seen;
    for (int i = 0; i < s.rowCount(); ++i)
        seen << s.value(i, s.fieldIndex(QStringLiteral("Code"))) + QLatin1Char(':')
                + s.value(i, s.fieldIndex(QStringLiteral("LName")));
    QCOMPARE(seen, (QStringList { "1:stored", "2:pending", "3:elsewhere", "new:" }));
    s.setCurrentRow(1);
    QVERIFY(s.update()); // the kept value is stored like any pending one
    QCOMPARE(rowsInFile(QStringLiteral("IDE"), QStringLiteral("2")).value(0).section(QLatin1Char('|'), 2, 2),
        QStringLiteral("pending"));
    s.moveLast();
    QVERIFY(s.hasPending());
    QVERIFY(s.update());
    QCOMPARE(rowsOf(s), rowsInFile(QStringLiteral("IDE")));
}

// A filter on another value or field than the key cannot be answered from
// the rows read: the source reads the whole table for it.
void TestRecordSource::filterBeyondTheKeyReadsTheWholeTable()
{
    for (const char *code : { "1", "2", "3" })
        addExaminee(QLatin1String(code), code[0] == '2' ? QStringLiteral("B") : QStringLiteral("A"));
    RecordSource s;
    QVERIFY(s.openWhere(Database::File::Examinee, QStringLiteral("IDE"), QStringLiteral("Code"), QStringLiteral("2")));
    s.setFilter(QStringLiteral("Code"), QStringLiteral("3"));
    QVERIFY(!s.isKeyed());
    QCOMPARE(s.rowCount(), 1);
    QCOMPARE(s.field(QStringLiteral("Code")), QStringLiteral("3"));
    QVERIFY(s.refreshWhere(QStringLiteral("Code"), QStringLiteral("2")));
    s.setFilter(QStringLiteral("LName"), QStringLiteral("A"));
    QCOMPARE(s.rowCount(), 2);
    QVERIFY(s.refresh());
    QVERIFY(!s.hasFilter());
    QCOMPARE(s.rowCount(), 3);
}

void TestRecordSource::refreshWhereRefusesAnUnknownField()
{
    addExaminee(QStringLiteral("1"));
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    QString error;
    // SQLite alone would read the quoted unknown name as text and match nothing.
    QVERIFY(!s.refreshWhere(QStringLiteral("Nosuch"), QStringLiteral("Nosuch"), &error));
    QVERIFY2(error.contains(QStringLiteral("Nosuch")), qPrintable(error));
    QCOMPARE(s.rowCount(), 1); // the snapshot stays
    QVERIFY(!s.isKeyed());
}

// Removing nothing is not reported as a removal.
void TestRecordSource::deleteWithoutARowFails()
{
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(s.atStart());
    QString error;
    QVERIFY(!s.deleteCurrent(&error));
    QCOMPARE(error, RecordSourceTexts::noCurrentRow);
}

void TestRecordSource::failedReadIsAnnounced_data()
{
    QTest::addColumn<QString>("read");
    QTest::addColumn<bool>("announced"); // through readFailed, else in the error
    QTest::newRow("refresh") << "refresh" << true;
    QTest::newRow("refresh, error taken") << "refresh error" << false;
    QTest::newRow("refreshWhere") << "refreshWhere" << true;
    QTest::newRow("refreshWhere, error taken") << "refreshWhere error" << false;
    QTest::newRow("filter beyond the key") << "filter" << true;
    QTest::newRow("clear filter of a keyed source") << "clear" << true;
}

// A second connection holds the file locked: every read that cannot be done
// says so in Persian, and the rows read before stay as they were.
void TestRecordSource::failedReadIsAnnounced()
{
    QFETCH(QString, read);
    QFETCH(bool, announced);
    for (const char *code : { "1", "2" })
        addExaminee(QLatin1String(code));
    RecordSource s;
    const bool keyed = read == QLatin1String("filter") || read == QLatin1String("clear");
    QVERIFY(keyed
            ? s.openWhere(Database::File::Examinee, QStringLiteral("IDE"), QStringLiteral("Code"), QStringLiteral("1"))
            : s.open(Database::File::Examinee, QStringLiteral("IDE")));
    const int rowsBefore = s.rowCount();
    addExaminee(QStringLiteral("3")); // a change, so a refresh must read
    QSignalSpy failures(&s, &RecordSource::readFailed);
    QString error;
    {
        ExclusiveLock lock(AppPaths::examineeDatabase());
        bool ok = true;
        if (read == QLatin1String("refresh"))
            ok = s.refresh();
        else if (read == QLatin1String("refresh error"))
            ok = s.refresh(&error);
        else if (read == QLatin1String("refreshWhere"))
            ok = s.refreshWhere(QStringLiteral("Code"), QStringLiteral("2"));
        else if (read == QLatin1String("refreshWhere error"))
            ok = s.refreshWhere(QStringLiteral("Code"), QStringLiteral("2"), &error);
        else if (read == QLatin1String("filter"))
            s.setFilter(QStringLiteral("LName"), QString());
        else
            s.clearFilter();
        QVERIFY(!ok || keyed);
    }
    if (announced) {
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures.at(0).at(0).toString(), DataTexts::locked);
        QVERIFY(error.isEmpty());
    } else {
        QCOMPARE(failures.size(), 0);
        QCOMPARE(error, DataTexts::locked);
    }
    if (!keyed)
        QCOMPARE(s.rowCount(), rowsBefore);
    // Once the other program lets go, the same read works.
    QVERIFY(s.refresh());
    QCOMPARE(s.rowCount(), 3);
}

void TestRecordSource::lockedStoreSaysSoInPersian()
{
    addExaminee(QStringLiteral("1"));
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    s.setField(QStringLiteral("LName"), QStringLiteral("B"));
    QString error;
    {
        ExclusiveLock lock(AppPaths::examineeDatabase());
        QVERIFY(!s.update(&error));
    }
    QCOMPARE(error, DataTexts::locked);
    QVERIFY(s.hasPending());
    QVERIFY(s.update(&error));
}

QTEST_GUILESS_MAIN(TestRecordSource)
#include "tst_recordsource.moc"
