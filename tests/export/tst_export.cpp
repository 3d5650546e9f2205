#include "ExportFixture.h"
#include "ReadBack.h"
#include "export/ExportFile.h"
#include "export/ExportTable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

using namespace ExportFixture;

namespace {

// Number columns of the export: a plainly written number there is a number.
bool numberColumn(const QString &name)
{
    static const QStringList names = { "Code", "Sen", "NKham", "Hooshbahr", "RDarsadi" };
    return names.contains(name) || name.startsWith(QLatin1Char('A')) || name.startsWith(QLatin1Char('C'))
        || name.startsWith(QLatin1Char('T'));
}

bool plainNumber(const QString &text, double *value)
{
    static const QRegularExpression re(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?$"));
    if (!re.match(text).hasMatch())
        return false;
    *value = text.toDouble();
    return true;
}

QStringList dirEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void numbers_data();
    void numbers();
    void seconds_data();
    void seconds();
    void logReadInOnePass();
    void roundTrip_data();
    void csvRoundTrip_data() { roundTrip_data(); }
    void csvRoundTrip();
    void xlsxRoundTrip_data() { roundTrip_data(); }
    void xlsxRoundTrip();
    void savRoundTrip_data() { roundTrip_data(); }
    void savRoundTrip();
    void savTypesFollowTheValues();
    void failureLeavesNoFile_data();
    void failureLeavesNoFile();
    void commandLine_data();
    void commandLine();
    void commandLineReadsOnly();

private:
    void exportTo(ExportFormat format, const QString &field, const QString &value, QString *path);

    ProgramFolder *m_folder = nullptr;
    AnswerKey m_key {};
    QTemporaryDir m_out;
};

void TestExport::init()
{
    m_folder = new ProgramFolder;
    QVERIFY(m_folder->openAll());
    m_key = contentKey();
    store(examinees(), m_key);
}

void TestExport::cleanup()
{
    delete m_folder;
    m_folder = nullptr;
}

void TestExport::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "104" << true << 104.0;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("negative") << "-3" << true << -3.0;
    QTest::newRow("fraction") << "24.5" << true << 24.5;
    QTest::newRow("tenths") << "12.3" << true << 12.3;
    QTest::newRow("a tenth") << "0.1" << true << 0.1;
    QTest::newRow("negative fraction") << "-1234.6" << true << -1234.6;
    QTest::newRow("15 digits with fraction") << "99999999999.9999" << true << 99999999999.9999;
    QTest::newRow("smallest fraction") << "0.00000000000001" << true << 1e-14;
    QTest::newRow("leading zero is a code") << "07" << false << 0.0;
    QTest::newRow("blank before") << " 5" << false << 0.0;
    QTest::newRow("blank after") << "5 " << false << 0.0;
    QTest::newRow("exponent") << "1e3" << false << 0.0;
    QTest::newRow("bare point") << "5." << false << 0.0;
    QTest::newRow("point first") << ".5" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("persian digits") << "۱۲" << false << 0.0;
    QTest::newRow("15 digits") << "123456789012345" << true << 123456789012345.0;
    QTest::newRow("16 digits") << "1234567890123456" << false << 0.0;
    QTest::newRow("invalid text") << kInvalid << false << 0.0;
}

void TestExport::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(double, value);
    double d = -1;
    QCOMPARE(ExportNumber(text, &d), number);
    if (number) {
        QCOMPARE(d, value);
        QVERIFY2(d == text.toDouble(), "not the double nearest the text"); // exactly, not within a margin
    }
}

void TestExport::seconds_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0.0";
    QTest::newRow("below a half") << qint64(49) << "0.0";
    QTest::newRow("a half") << qint64(50) << "0.1";
    QTest::newRow("just below a half") << qint64(1249) << "1.2";
    QTest::newRow("half up") << qint64(1250) << "1.3";
    QTest::newRow("up to a whole second") << qint64(999) << "1.0";
    QTest::newRow("up to a minute") << qint64(59999) << "60.0";
    QTest::newRow("long") << qint64(1234567) << "1234.6";
    QTest::newRow("negative half") << qint64(-50) << "-0.1";
    QTest::newRow("negative below a half") << qint64(-49) << "0.0";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "9223372036854775.8";
}

void TestExport::seconds()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(ExportSeconds(ms), text);
}

// The log of the fixture and of a file without one, read whole.
void TestExport::logReadInOnePass()
{
    QSqlDatabase db = Database::connection(Database::File::Examinee);
    AnswerLog::FinalLatencies log;
    QString error;
    QVERIFY2(log.read(db, &error), qPrintable(error));
    QCOMPARE(log.examinees(), 4);
    QVERIFY(!log.of(QStringLiteral("12")));
    const qint64 *first = log.of(QStringLiteral("1"));
    QVERIFY(first);
    QCOMPARE(first[2], qint64(7349)); // the third answer of item 3
    QCOMPARE(first[20], AnswerLog::FinalLatencies::kNone);
    const qint64 *pieced = log.of(QStringLiteral("07"));
    QVERIFY(pieced);
    QCOMPARE(pieced[4], qint64(3000));
    QCOMPARE(pieced[5], qint64(2200));
    QCOMPARE(pieced[6], AnswerLog::FinalLatencies::kNone);

    QSqlQuery q(db);
    QVERIFY(q.exec(QStringLiteral("DROP TABLE AnswerLog")));
    QVERIFY2(log.read(db, &error), qPrintable(error));
    QCOMPARE(log.examinees(), 0);
    QVERIFY(!log.of(QStringLiteral("1")));
}

void TestExport::roundTrip_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("all") << QString() << QString();
    QTest::newRow("one code") << "Code"
                              << "07";
    QTest::newRow("one group") << "Group"
                               << "A";
    QTest::newRow("nobody") << "LName"
                            << "nobody";
}

void TestExport::exportTo(ExportFormat format, const QString &field, const QString &value, QString *path)
{
    RecordSource ide, answers;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(answers.open(Database::File::Examinee, QStringLiteral("Answer")));
    if (!field.isEmpty())
        ide.setFilter(field, value);
    static const char *const suffix[] = { "csv", "xlsx", "sav" };
    *path = m_out.filePath(QStringLiteral("out.") + QLatin1String(suffix[int(format)]));
    QString error;
    AnswerLog::FinalLatencies latencies;
    QVERIFY2(latencies.read(Database::connection(Database::File::Examinee), &error), qPrintable(error));
    QVERIFY2(ExportToFile(ExportTable(ide, answers, m_key, latencies), format, *path, &error), qPrintable(error));
}

void TestExport::csvRoundTrip()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QString path;
    exportTo(ExportFormat::Csv, field, value, &path);
    const QByteArray bytes = fileBytes(path);
    bool bom = false;
    QVector<QStringList> rows;
    QString error;
    QVERIFY2(ReadBack::parseCsv(bytes, &bom, &rows, &error), qPrintable(error));
    QVERIFY(bom);
    QVERIFY(!rows.isEmpty());
    QCOMPARE(rows.takeFirst(), header());
    QCOMPARE(rows, expectedRows(m_key, field, value));
    if (field.isEmpty()) {
        // The quoting itself, as a spreadsheet sees the bytes.
        QVERIFY(bytes.contains("\"اول, دبستان\""));
        QVERIFY(bytes.contains("\"دکتر \"\"نمونه\"\"\""));
        QVERIFY(bytes.contains("\"علي\nرضا\""));
        QVERIFY(bytes.contains(",O'Neil,"));
    }
}

void TestExport::xlsxRoundTrip()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QString path;
    exportTo(ExportFormat::Xlsx, field, value, &path);
    ReadBack::XlsxSheet sheet;
    QString error;
    QVERIFY2(ReadBack::readXlsx(path, &sheet, &error), qPrintable(error));
    QVERIFY(sheet.rightToLeft);
    QVERIFY(sheet.frozenHeader);
    const QStringList names = header();
    const QVector<QStringList> expected = expectedRows(m_key, field, value);
    QCOMPARE(sheet.rows.size(), expected.size() + 1);
    for (int c = 0; c < names.size(); ++c) {
        const ReadBack::XlsxCell cell = sheet.rows[0].value(c);
        QCOMPARE(cell.text, names[c]);
        QVERIFY2(sheet.boldStyles.contains(QString::number(cell.style)), qPrintable(names[c]));
    }
    for (int r = 0; r < expected.size(); ++r) {
        const QHash<int, ReadBack::XlsxCell> &cells = sheet.rows[r + 1];
        for (int c = 0; c < names.size(); ++c) {
            const QString &stored = expected[r][c];
            const QString where = QStringLiteral("row %1 %2").arg(r + 1).arg(names[c]);
            double d = 0;
            if (stored.isEmpty()) {
                QVERIFY2(!cells.contains(c), qPrintable(where));
            } else if (numberColumn(names[c]) && plainNumber(stored, &d)) {
                QVERIFY2(cells.value(c).number, qPrintable(where));
                QCOMPARE(cells.value(c).value, d);
                if (names[c].startsWith(QLatin1Char('T')))
                    QCOMPARE(sheet.numberFormats.value(cells.value(c).style), QStringLiteral("0.0"));
            } else {
                QVERIFY2(!cells.value(c).number, qPrintable(where));
                QCOMPARE(cells.value(c).text, stored);
            }
        }
    }
}

void TestExport::savRoundTrip()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QString path;
    exportTo(ExportFormat::Sav, field, value, &path);
    ReadBack::SavFile sav;
    QString error;
    QVERIFY2(ReadBack::readSav(path, &sav, &error), qPrintable(error));
    QCOMPARE(sav.encoding, QStringLiteral("UTF-8"));
    const QStringList names = header();
    QCOMPARE(sav.variables.size(), names.size());
    for (int c = 0; c < names.size(); ++c)
        QCOMPARE(sav.variables[c].name, names[c]);
    const QVector<QStringList> expected = expectedRows(m_key, field, value);
    QCOMPARE(sav.rows.size(), expected.size());
    for (int r = 0; r < expected.size(); ++r) {
        for (int c = 0; c < names.size(); ++c) {
            const ReadBack::SavVariable &v = sav.variables[c];
            const ReadBack::SavValue &got = sav.rows[r][c];
            const QString &stored = expected[r][c];
            const QString where = QStringLiteral("row %1 %2").arg(r + 1).arg(names[c]);
            if (!v.numeric) {
                QCOMPARE(got.text, stored);
            } else if (stored.isEmpty()) {
                QVERIFY2(got.systemMissing, qPrintable(where));
            } else if (double d = 0; plainNumber(stored, &d)) {
                QVERIFY2(!got.systemMissing && !got.userMissing, qPrintable(where));
                QCOMPARE(got.number, d);
            } else {
                // A labelled text: its code carries the stored text as label.
                QVERIFY2(v.valueLabels.contains(got.number), qPrintable(where));
                QCOMPARE(v.valueLabels.value(got.number), stored);
            }
        }
    }
}

// With all five examinees: which variables are numbers, their labels, the
// invalid IQ as a labelled missing value.
void TestExport::savTypesFollowTheValues()
{
    QString path;
    exportTo(ExportFormat::Sav, QString(), QString(), &path);
    ReadBack::SavFile sav;
    QString error;
    QVERIFY2(ReadBack::readSav(path, &sav, &error), qPrintable(error));
    QHash<QString, ReadBack::SavVariable> v;
    for (const ReadBack::SavVariable &var : std::as_const(sav.variables))
        v.insert(var.name, var);
    QVERIFY(!v["Code"].numeric); // "07" is no number: the codes stay as stored
    QVERIFY(!v["FName"].numeric);
    QVERIFY(v["Sen"].numeric);
    QVERIFY(v["NKham"].numeric);
    QVERIFY(v["Hooshbahr"].numeric);
    QCOMPARE(v["Hooshbahr"].valueLabels.value(-1), kInvalid);
    QCOMPARE(v["Hooshbahr"].missing, QVector<double> { -1 });
    QCOMPARE(v["Hooshbahr"].format, QStringLiteral("F8.1"));
    QVERIFY(v["Jens"].numeric);
    QCOMPARE(v["Jens"].valueLabels.value(1), QStringLiteral("پسر"));
    QCOMPARE(v["Jens"].valueLabels.value(2), QStringLiteral("دختر"));
    QVERIFY(v["A1"].numeric);
    QVERIFY(v["C36"].numeric);
    QCOMPARE(v["C36"].valueLabels.value(1), QStringLiteral("درست"));
    QCOMPARE(v["C36"].valueLabels.value(0), QStringLiteral("نادرست"));
    QCOMPARE(v["Code"].label, QStringLiteral("كدآزمودني"));
    QCOMPARE(v["LName"].label, QStringLiteral("نام خانوادگي"));
    QCOMPARE(v["RDarsadi"].label, QStringLiteral("رتبه درصدي"));
    QCOMPARE(v["Hooshbahr"].label, QStringLiteral("هوشبهر"));
    QCOMPARE(v["A7"].label, QStringLiteral("پاسخ سؤال 7"));
    for (const char *t : { "T1", "T21", "T36" }) {
        QVERIFY(v[t].numeric);
        QCOMPARE(v[t].format, QStringLiteral("F8.1"));
    }
    QCOMPARE(v["T7"].label, QStringLiteral("زمان پاسخ سؤال 7 (ثانيه)"));
    QVERIFY(v["Classification"].label.startsWith(QStringLiteral("طبقه")));
    // The invalid IQ is a user-missing value, so SPSS leaves it out of sums.
    QVERIFY(sav.rows[1][12].userMissing);
}

void TestExport::failureLeavesNoFile_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("folderMissing");
    // A text longer than the formats take fails after the writing began.
    QTest::newRow("xlsx, text too long") << int(ExportFormat::Xlsx) << false;
    QTest::newRow("sav, text too long") << int(ExportFormat::Sav) << false;
    QTest::newRow("csv, no such folder") << int(ExportFormat::Csv) << true;
    QTest::newRow("xlsx, no such folder") << int(ExportFormat::Xlsx) << true;
}

void TestExport::failureLeavesNoFile()
{
    QFETCH(int, format);
    QFETCH(bool, folderMissing);
    QSqlQuery q(Database::connection(Database::File::Examinee));
    q.prepare(QStringLiteral("UPDATE IDE SET Tahsil = ? WHERE Code = '5'"));
    q.addBindValue(QString(40000, QLatin1Char('x')));
    QVERIFY(q.exec());
    RecordSource ide, answers;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(answers.open(Database::File::Examinee, QStringLiteral("Answer")));

    QTemporaryDir dir;
    const QString target
        = folderMissing ? dir.filePath(QStringLiteral("missing/out.file")) : dir.filePath(QStringLiteral("out.file"));
    if (!folderMissing) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the file before");
    }
    QString error;
    const AnswerLog::FinalLatencies noLog;
    QVERIFY(!ExportToFile(ExportTable(ide, answers, m_key, noLog), ExportFormat(format), target, &error));
    QVERIFY(error.contains(QStringLiteral("out.file")));
    if (folderMissing) {
        QVERIFY(dirEntries(dir.path()).isEmpty());
    } else {
        QCOMPARE(dirEntries(dir.path()), QStringList { "out.file" });
        QCOMPARE(fileBytes(target), QByteArray("the file before"));
    }
}

void TestExport::commandLine_data()
{
    QTest::addColumn<QStringList>("args"); // %DB% the fixture's database, %OUT% a file in an empty folder
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("rows"); // exported rows, -1 when no file is expected
    QTest::newRow("help") << QStringList { "--help" } << 0 << -1;
    QTest::newRow("csv by extension") << QStringList { "--db", "%DB%", "-o", "%OUT%.csv" } << 0 << 5;
    QTest::newRow("format named") << QStringList { "--db", "%DB%", "--format", "csv", "-o", "%OUT%.txt" } << 0 << 5;
    QTest::newRow("one code") << QStringList { "--db", "%DB%", "--code", "07", "-o", "%OUT%.csv" } << 0 << 1;
    QTest::newRow("code as typed") << QStringList { "--db", "%DB%", "--code", "7", "-o", "%OUT%.csv" } << 1 << -1;
    QTest::newRow("xlsx") << QStringList { "--db", "%DB%", "--output", "%OUT%.xlsx" } << 0 << -1;
    QTest::newRow("sav") << QStringList { "--db", "%DB%", "-o", "%OUT%.sav" } << 0 << -1;
    QTest::newRow("no output") << QStringList { "--db", "%DB%" } << 2 << -1;
    QTest::newRow("unknown option") << QStringList { "--db", "%DB%", "--fast", "-o", "%OUT%.csv" } << 2 << -1;
    QTest::newRow("stray argument") << QStringList { "--db", "%DB%", "-o", "%OUT%.csv", "extra" } << 2 << -1;
    QTest::newRow("unknown format") << QStringList { "--db", "%DB%", "--format", "pdf", "-o", "%OUT%.csv" } << 2 << -1;
    QTest::newRow("no extension") << QStringList { "--db", "%DB%", "-o", "%OUT%" } << 2 << -1;
    QTest::newRow("output twice") << QStringList { "--db", "%DB%", "-o", "%OUT%.csv", "-o", "%OUT%.sav" } << 2 << -1;
    QTest::newRow("no such database") << QStringList { "--db", "%DB%.missing", "-o", "%OUT%.csv" } << 2 << -1;
    QTest::newRow("not a database") << QStringList { "--db", "%TEXT%", "-o", "%OUT%.csv" } << 2 << -1;
    QTest::newRow("foreign database") << QStringList { "--db", "%THEME%", "-o", "%OUT%.csv" } << 2 << -1;
    QTest::newRow("unwritable output") << QStringList { "--db", "%DB%", "-o", "%OUT%/nowhere/x.csv" } << 2 << -1;
}

void TestExport::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(int, rows);
    Database::closeAll();
    QTemporaryDir outDir;
    QFile text(outDir.filePath(QStringLiteral("notes.mdb")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("just some text, no database\n");
    text.close();
    const QString out = outDir.filePath(QStringLiteral("export"));
    for (QString &a : args) {
        a.replace(QLatin1String("%DB%"), AppPaths::examineeDatabase())
            .replace(QLatin1String("%THEME%"), AppPaths::themeDatabase())
            .replace(QLatin1String("%TEXT%"), text.fileName())
            .replace(QLatin1String("%OUT%"), out);
    }
    QProcess p;
    p.start(QStringLiteral(PELORIN_EXPORT_EXE), args);
    QVERIFY(p.waitForFinished(30000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QVERIFY2(p.exitCode() == status, qPrintable(QStringLiteral("status %1: %2").arg(p.exitCode()).arg(err)));
    if (status == 0) {
        QVERIFY(err.isEmpty());
    } else {
        QCOMPARE(err.count(QLatin1Char('\n')), 1);
        QVERIFY(err.startsWith(QLatin1String("pelorin-export: ")));
    }
    if (args == QStringList { "--help" })
        QVERIFY(p.readAllStandardOutput().startsWith(
            "Usage: pelorin-export [--db FILE] [--code CODE] [--format csv|xlsx|sav] -o OUTPUT"));
    QStringList written = dirEntries(outDir.path());
    written.removeOne(QStringLiteral("notes.mdb"));
    if (status != 0) {
        QVERIFY2(written.isEmpty(), qPrintable(written.join(QLatin1Char(' '))));
        return;
    }
    if (args.contains(QLatin1String("--help")))
        return;
    QCOMPARE(written.size(), 1);
    if (rows >= 0) {
        bool bom = false;
        QVector<QStringList> csv;
        QString error;
        QVERIFY2(
            ReadBack::parseCsv(fileBytes(outDir.filePath(written.first())), &bom, &csv, &error), qPrintable(error));
        QVERIFY(m_folder->openAll());
        const bool one = args.contains(QLatin1String("--code"));
        QCOMPARE(csv.mid(1),
            expectedRows(m_key, one ? QStringLiteral("Code") : QString(), one ? QStringLiteral("07") : QString()));
        QCOMPARE(csv.size() - 1, rows);
    }
}

// The database file and its folder are exactly as before an export.
void TestExport::commandLineReadsOnly()
{
    Database::closeAll();
    const QString db = AppPaths::examineeDatabase();
    const QStringList before = dirEntries(AppPaths::programDir());
    const QByteArray hash = QCryptographicHash::hash(fileBytes(db), QCryptographicHash::Sha256);
    QFile::setPermissions(db, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QProcess p;
    p.start(QStringLiteral(PELORIN_EXPORT_EXE), { "--db", db, "-o", m_out.filePath(QStringLiteral("ro.sav")) });
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(dirEntries(AppPaths::programDir()), before);
    QCOMPARE(QCryptographicHash::hash(fileBytes(db), QCryptographicHash::Sha256), hash);
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
