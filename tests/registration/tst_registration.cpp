#include "ExamFolder.h"
#include "data/DataTexts.h"
#include "mainwindow/registration/Registration.h"
#include "mainwindow/registration/RegistrationTexts.h"

namespace {

RegistrationForm completeForm(const QString &code)
{
    RegistrationForm f;
    f.code = code;
    f.firstName = QStringLiteral("سارا");
    f.lastName = QStringLiteral("کريمي");
    f.sex = QStringLiteral("دختر");
    f.age = QStringLiteral("6");
    f.education = QStringLiteral("پيش دبستاني");
    f.group = QStringLiteral("B");
    return f;
}

void addCodes(const QStringList &codes)
{
    RecordSource ide;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    for (const QString &code : codes) {
        ide.addNew();
        ide.setField(QStringLiteral("Code"), code);
        QVERIFY(ide.update());
    }
}

} // namespace

class TestRegistration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void suggestNextCode_data();
    void suggestNextCode();
    void secondProposalIsNotHinderedByTheFirst();
    void checksInOrder_data();
    void checksInOrder();
    void saveStoresBothRows();
    void blanksOnlyCountAsEmpty_data();
    void blanksOnlyCountAsEmpty();
    void codeIsTrimmed_data();
    void codeIsTrimmed();
    void apostropheIsStoredAndFoundExactly();
    void databaseErrorLeavesNothingHalfWritten();

private:
    ExamFolder *m_folder = nullptr;
    RecordSource *m_Adodc1 = nullptr;
    RecordSource *m_Adodc2 = nullptr;
    RecordSource *m_Adodc3 = nullptr;
    RecordSource *m_Adodc5 = nullptr;
    void openSources();
};

void TestRegistration::init()
{
    m_folder = new ExamFolder;
}

void TestRegistration::openSources()
{
    m_Adodc1 = new RecordSource(this);
    m_Adodc2 = new RecordSource(this);
    m_Adodc3 = new RecordSource(this);
    m_Adodc5 = new RecordSource(this);
    QVERIFY(m_Adodc1->open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(m_Adodc2->open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(m_Adodc3->open(Database::File::Examinee, QStringLiteral("Answer")));
    QVERIFY(m_Adodc5->open(Database::File::Examinee, QStringLiteral("IDE")));
}

void TestRegistration::cleanup()
{
    for (RecordSource *s : { m_Adodc1, m_Adodc2, m_Adodc3, m_Adodc5 })
        delete s;
    m_Adodc1 = m_Adodc2 = m_Adodc3 = m_Adodc5 = nullptr;
    delete m_folder;
    m_folder = nullptr;
}

void TestRegistration::suggestNextCode_data()
{
    QTest::addColumn<QStringList>("codes"); // in stored order
    QTest::addColumn<QString>("proposal");
    QTest::newRow("empty table") << QStringList() << QString();
    QStringList twelve;
    for (int i = 1; i <= 12; ++i)
        twelve << QString::number(i);
    QTest::newRow("1 to 12") << twelve << "13";
    QTest::newRow("7 last, 8 and 9 taken") << QStringList { "8", "9", "1", "7" } << "10";
    QTest::newRow("abc last") << QStringList { "1", "2", "abc" } << "3";
    QTest::newRow("abc alone") << QStringList { "abc" } << "1";
    QTest::newRow("leading blanks and text") << QStringList { " 41x" } << "42";
    QTest::newRow("text compare: 07 does not take 7") << QStringList { "07", "6" } << "7";
    QTest::newRow("above 2^53, exact") << QStringList { "9007199254740993" } << "9007199254740994";
    QTest::newRow("above 2^53, next taken")
        << QStringList { "9007199254740994", "9007199254740993" } << "9007199254740995";
    QTest::newRow("largest 64-bit code wraps to 1") << QStringList { "9223372036854775807" } << "1";
    QTest::newRow("too large for 64 bits counts as text") << QStringList { "99999999999999999999" } << "1";
    QTest::newRow("too large, 1 taken") << QStringList { "1", "99999999999999999999" } << "2";
    QTest::newRow("Persian digits last") << QStringList { "12", "۱۲" } << "13";
}

void TestRegistration::suggestNextCode()
{
    QFETCH(QStringList, codes);
    QFETCH(QString, proposal);
    addCodes(codes);
    openSources();
    QCOMPARE(SuggestNextCode(m_Adodc5), proposal);
}

void TestRegistration::secondProposalIsNotHinderedByTheFirst()
{
    addCodes({ "1", "2" });
    openSources();
    QCOMPARE(SuggestNextCode(m_Adodc5), QStringLiteral("3"));
    QVERIFY(m_Adodc5->hasFilter());
    QCOMPARE(SaveRegistration(completeForm("3"), m_Adodc1, m_Adodc2, m_Adodc3, nullptr), SaveOutcome::Saved);
    QCOMPARE(SuggestNextCode(m_Adodc5), QStringLiteral("4"));
}

void TestRegistration::checksInOrder_data()
{
    using F = RegistrationForm::Field;
    QTest::addColumn<int>("filled"); // fields filled, in check order
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing: code first") << 0 << int(F::Code) << RegistrationTexts::missingCode;
    QTest::newRow("first name") << 1 << int(F::FirstName) << RegistrationTexts::missingFirstName;
    QTest::newRow("family name") << 2 << int(F::LastName) << RegistrationTexts::missingLastName;
    QTest::newRow("sex") << 3 << int(F::Sex) << RegistrationTexts::missingSex;
    QTest::newRow("age") << 4 << int(F::Age) << RegistrationTexts::missingAge;
    QTest::newRow("group before education") << 5 << int(F::Group) << RegistrationTexts::missingGroup;
    QTest::newRow("education") << 6 << int(F::Education) << RegistrationTexts::missingEducation;
    QTest::newRow("all filled") << 7 << -1 << QString();
}

void TestRegistration::checksInOrder()
{
    QFETCH(int, filled);
    QFETCH(int, field);
    QFETCH(QString, message);
    const RegistrationForm full = completeForm(QStringLiteral("5"));
    RegistrationForm f; // dates and examiner are never required
    QString *targets[] = { &f.code, &f.firstName, &f.lastName, &f.sex, &f.age, &f.group, &f.education };
    const QString *sources[]
        = { &full.code, &full.firstName, &full.lastName, &full.sex, &full.age, &full.group, &full.education };
    for (int i = 0; i < filled; ++i)
        *targets[i] = *sources[i];
    const auto failed = FirstFailedCheck(f);
    QCOMPARE(failed ? int(failed->field) : -1, field);
    QCOMPARE(failed ? failed->message : QString(), message);
}

void TestRegistration::saveStoresBothRows()
{
    addCodes({ "1" });
    openSources();
    RegistrationForm f = completeForm(QStringLiteral("2"));
    f.firstName = QStringLiteral(" سارا ");
    f.lastName = QStringLiteral("  کريمي ");
    f.birthDate = QStringLiteral("1395/01/02");
    f.testDate = QStringLiteral("1401/07/28");
    f.examiner = QStringLiteral("دکتر احمدي");
    QVERIFY(!FirstFailedCheck(f));
    QString error;
    QCOMPARE(SaveRegistration(f, m_Adodc1, m_Adodc2, m_Adodc3, &error), SaveOutcome::Saved);
    QCOMPARE(storedRows("IDE"), 2);
    QCOMPARE(storedRows("Answer"), 1);
    const struct
    {
        const char *field;
        QString value;
    } expected[] = { { "FName", "سارا" }, { "LName", "کريمي" }, { "Jens", "دختر" }, { "Sen", "6" },
        { "Tahsil", "پيش دبستاني" }, { "Group", "B" }, { "DateTavalod", "1395/01/02" }, { "DateEjra", "1401/07/28" },
        { "Azmayande", "دکتر احمدي" }, { "NKham", "" } };
    for (const auto &e : expected)
        QCOMPARE(storedField("IDE", "2", QLatin1String(e.field)), e.value);
    QCOMPARE(storedField("Answer", "2", "1"), QString());

    // Saving the same code again is refused and stores nothing.
    QCOMPARE(SaveRegistration(f, m_Adodc1, m_Adodc2, m_Adodc3, &error), SaveOutcome::Duplicate);
    QCOMPARE(storedRows("IDE"), 2);
    QCOMPARE(storedRows("Answer"), 1);
    // The check read that code's row alone.
    QVERIFY(m_Adodc1->isKeyed());
    QCOMPARE(m_Adodc1->rowCount(), 1);
    QCOMPARE(m_Adodc1->field(QStringLiteral("Code")), QStringLiteral("2"));
}

void TestRegistration::blanksOnlyCountAsEmpty_data()
{
    using F = RegistrationForm::Field;
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("first name") << int(F::FirstName) << RegistrationTexts::missingFirstName;
    QTest::newRow("family name") << int(F::LastName) << RegistrationTexts::missingLastName;
    QTest::newRow("education") << int(F::Education) << RegistrationTexts::missingEducation;
}

void TestRegistration::blanksOnlyCountAsEmpty()
{
    using F = RegistrationForm::Field;
    QFETCH(int, field);
    QFETCH(QString, message);
    RegistrationForm f = completeForm(QStringLiteral("5"));
    QString *target = field == int(F::FirstName) ? &f.firstName
        : field == int(F::LastName)              ? &f.lastName
                                                 : &f.education;
    *target = QStringLiteral(" \t  ");
    const auto failed = FirstFailedCheck(f);
    QVERIFY(failed);
    QCOMPARE(int(failed->field), field);
    QCOMPARE(failed->message, message);
}

void TestRegistration::codeIsTrimmed_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<SaveOutcome>("outcome");
    QTest::addColumn<QString>("stored");
    QTest::newRow("12 duplicates 12") << "12 " << SaveOutcome::Duplicate << "";
    QTest::newRow(" 12 duplicates 12") << " 12" << SaveOutcome::Duplicate << "";
    QTest::newRow("13 stored as 13") << " 13 " << SaveOutcome::Saved << "13";
    QTest::newRow("012 is another code") << "012" << SaveOutcome::Saved << "012";
    QTest::newRow("Persian 12 duplicates 12") << "۱۲" << SaveOutcome::Duplicate << "";
    QTest::newRow("Arabic-Indic 12 duplicates 12") << "١٢ " << SaveOutcome::Duplicate << "";
    QTest::newRow("Persian 305 stored as 305") << "۳۰۵" << SaveOutcome::Saved << "305";
    QTest::newRow("Arabic-Indic 79 stored as 79") << "٧٩" << SaveOutcome::Saved << "79";
    QTest::newRow("mixed digits") << "۴1٤9" << SaveOutcome::Saved << "4149";
}

void TestRegistration::codeIsTrimmed()
{
    QFETCH(QString, typed);
    QFETCH(SaveOutcome, outcome);
    QFETCH(QString, stored);
    addCodes({ "12" });
    openSources();
    QCOMPARE(SaveRegistration(completeForm(typed), m_Adodc1, m_Adodc2, m_Adodc3, nullptr), outcome);
    if (outcome == SaveOutcome::Saved) {
        const QString code = stored;
        QCOMPARE(storedField("IDE", code, "Code"), code);
        QCOMPARE(storedField("Answer", code, "Code"), code);
    } else {
        QCOMPARE(storedRows("IDE"), 1);
        QCOMPARE(storedRows("Answer"), 0);
    }
}

void TestRegistration::apostropheIsStoredAndFoundExactly()
{
    openSources();
    const QString code = QStringLiteral("O'7'; DROP TABLE IDE; --");
    QCOMPARE(SaveRegistration(completeForm(code), m_Adodc1, m_Adodc2, m_Adodc3, nullptr), SaveOutcome::Saved);
    QCOMPARE(storedField("IDE", code, "Code"), code);
    QCOMPARE(storedField("Answer", code, "Code"), code);
    QCOMPARE(SaveRegistration(completeForm(code), m_Adodc1, m_Adodc2, m_Adodc3, nullptr), SaveOutcome::Duplicate);
    QCOMPARE(storedRows("IDE"), 1);
}

void TestRegistration::databaseErrorLeavesNothingHalfWritten()
{
    openSources();
    // The IDE insert fails after the Answer row has gone in.
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER full_disk BEFORE INSERT ON IDE "
                                  "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END")));
    QString error;
    QCOMPARE(SaveRegistration(completeForm("5"), m_Adodc1, m_Adodc2, m_Adodc3, &error), SaveOutcome::Failed);
    // Said in Persian, never as the database's own English.
    QCOMPARE(error, DataTexts::storeFailed);
    QCOMPARE(storedRows("IDE"), 0);
    QCOMPARE(storedRows("Answer"), 0);
    QCOMPARE(m_Adodc2->rowCount(), 0);
    QCOMPARE(m_Adodc3->rowCount(), 0);

    // Once the fault is gone the same form saves, as one pair.
    QVERIFY(q.exec(QStringLiteral("DROP TRIGGER full_disk")));
    QCOMPARE(SaveRegistration(completeForm("5"), m_Adodc1, m_Adodc2, m_Adodc3, &error), SaveOutcome::Saved);
    QCOMPARE(storedRows("IDE"), 1);
    QCOMPARE(storedRows("Answer"), 1);
}

QTEST_GUILESS_MAIN(TestRegistration)
#include "tst_registration.moc"
