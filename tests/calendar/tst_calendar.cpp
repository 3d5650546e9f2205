#include "calendar/ShamsiCalendar.h"

#include <QTest>

class TestCalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layouts_data();
    void layouts();
    void leapYears();
    void everyDayAdvancesByOne();
    void readDate_data();
    void readDate();
    void daysRoundTrip();
    void completedMonths_data();
    void completedMonths();
};

void TestCalendar::layouts_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("expected");

    auto at = [](int y, int m, int d, int hh = 12, int mm = 0) { return QDateTime(QDate(y, m, d), QTime(hh, mm)); };
    QTest::newRow("epoch") << at(1953, 3, 21) << 0 << QStringLiteral("1332/01/01");
    QTest::newRow("last day of month 6") << at(2022, 9, 22) << 0 << QStringLiteral("1401/06/31");
    QTest::newRow("day 186 starts month 7") << at(2022, 9, 23) << 0 << QStringLiteral("1401/07/01");
    QTest::newRow("end of 1402") << at(2024, 3, 19) << 0 << QStringLiteral("1402/12/29");
    QTest::newRow("start of 1403") << at(2024, 3, 20) << 0 << QStringLiteral("1403/01/01");
    QTest::newRow("leap day 1403") << at(2025, 3, 20) << 0 << QStringLiteral("1403/12/30");
    QTest::newRow("start of 1404") << at(2025, 3, 21) << 0 << QStringLiteral("1404/01/01");
    QTest::newRow("y2k") << at(2000, 1, 1) << 0 << QStringLiteral("1378/10/11");
    QTest::newRow("1437 after two leap years") << at(2058, 3, 21) << 0 << QStringLiteral("1437/01/01");
    QTest::newRow("1438") << at(2059, 3, 22) << 0 << QStringLiteral("1438/01/01");
    QTest::newRow("midnight") << at(2022, 10, 20, 0, 0) << 0 << QStringLiteral("1401/07/28");
    QTest::newRow("23:59 same day") << at(2022, 10, 20, 23, 59) << 0 << QStringLiteral("1401/07/28");
    QTest::newRow("layout 1") << at(2022, 10, 20) << 1 << QStringLiteral("28 مهر 1401");
    QTest::newRow("layout 2") << at(2022, 10, 20) << 2 << QStringLiteral("پنجشنبه 1401/7/28");
    QTest::newRow("layout 3") << at(2022, 10, 20) << 3 << QStringLiteral("پنجشنبه 28 مهر 1401");
    QTest::newRow("layout 4") << at(2022, 10, 20) << 4 << QStringLiteral("1401.7.28");
    QTest::newRow("layout 4 no zeros") << at(2022, 9, 27) << 4 << QStringLiteral("1401.7.5");
    QTest::newRow("layout 0 zeros") << at(2022, 9, 27) << 0 << QStringLiteral("1401/07/05");
    QTest::newRow("sunday keheh") << at(2022, 10, 23) << 2 << QStringLiteral("يکشنبه 1401/8/1");
    QTest::newRow("tuesday plain space") << at(2022, 10, 25) << 3 << QStringLiteral("سه شنبه 3 آبان 1401");
    QTest::newRow("saturday") << at(2022, 10, 22) << 2 << QStringLiteral("شنبه 1401/7/30");
    QTest::newRow("layout 5") << at(2022, 10, 20) << 5 << QString();
    QTest::newRow("layout -1") << at(2022, 10, 20) << -1 << QString();
}

void TestCalendar::layouts()
{
    QFETCH(QDateTime, when);
    QFETCH(int, format);
    QFETCH(QString, expected);
    QCOMPARE(ShamsiDate(when, format), expected);
}

void TestCalendar::leapYears()
{
    const QList<int> expected = { 1333, 1337, 1342, 1346, 1350, 1354, 1358, 1362, 1366, 1370, 1375, 1379, 1383, 1387,
        1391, 1395, 1399, 1403, 1408, 1412, 1416, 1420, 1424, 1428, 1432, 1436, 1437, 1441, 1445, 1449, 1453, 1457 };
    QList<int> found;
    for (int y = 1332; y <= 1460; ++y) {
        if (IsShamsiLeap(y))
            found << y;
    }
    QCOMPARE(found, expected);
}

// Walking day by day from the epoch, the date only ever moves to the next
// day, and month 12 has 30 days exactly in leap years.
void TestCalendar::everyDayAdvancesByOne()
{
    ShamsiYmd prev = ShamsiFromDays(0);
    QCOMPARE(prev.year, 1332);
    for (qint64 d = 1; d < 40000; ++d) {
        const ShamsiYmd cur = ShamsiFromDays(d);
        if (cur.year == prev.year && cur.month == prev.month) {
            QCOMPARE(cur.day, prev.day + 1);
        } else if (cur.year == prev.year) {
            QCOMPARE(cur.month, prev.month + 1);
            QCOMPARE(cur.day, 1);
            QCOMPARE(prev.day, prev.month <= 6 ? 31 : 30);
        } else {
            QCOMPARE(cur.year, prev.year + 1);
            QCOMPARE(cur.month, 1);
            QCOMPARE(cur.day, 1);
            QCOMPARE(prev.month, 12);
            QCOMPARE(prev.day, IsShamsiLeap(prev.year) ? 30 : 29);
        }
        prev = cur;
    }
}

void TestCalendar::readDate_data()
{
    using S = ShamsiDateField::Status;
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stored");

    auto row = [](const char *name, const QString &text, S status, const QString &stored = QString()) {
        QTest::newRow(name) << text << int(status) << stored;
    };
    row("layout 0", QStringLiteral("1398/05/03"), S::Valid, QStringLiteral("1398/05/03"));
    row("one-digit month and day", QStringLiteral("1398/5/3"), S::Valid, QStringLiteral("1398/05/03"));
    row("persian digits", QStringLiteral("۱۳۹۸/۰۵/۰۳"), S::Valid, QStringLiteral("1398/05/03"));
    row("arabic-indic digits", QStringLiteral("١٣٩٨/٥/٣"), S::Valid, QStringLiteral("1398/05/03"));
    row("dashes", QStringLiteral("1398-05-03"), S::Valid, QStringLiteral("1398/05/03"));
    row("blanks around", QStringLiteral("  1398/05/03 "), S::Valid, QStringLiteral("1398/05/03"));
    row("leap day of a leap year", QStringLiteral("1399/12/30"), S::Valid, QStringLiteral("1399/12/30"));
    row("leap day of a common year", QStringLiteral("1398/12/30"), S::Invalid);
    row("29 esfand of a common year", QStringLiteral("1398/12/29"), S::Valid, QStringLiteral("1398/12/29"));
    row("31 in month 6", QStringLiteral("1398/06/31"), S::Valid, QStringLiteral("1398/06/31"));
    row("31 in month 7", QStringLiteral("1398/07/31"), S::Invalid);
    row("30 in month 12 of a common year", QStringLiteral("1402/12/30"), S::Invalid);
    row("30 in month 12 of 1403", QStringLiteral("1403/12/30"), S::Valid, QStringLiteral("1403/12/30"));
    row("month 13", QStringLiteral("1398/13/01"), S::Invalid);
    row("month 0", QStringLiteral("1398/00/10"), S::Invalid);
    row("day 0", QStringLiteral("1398/01/00"), S::Invalid);
    row("mixed separators", QStringLiteral("1398/05-03"), S::Invalid);
    row("two-digit year", QStringLiteral("98/05/03"), S::Invalid);
    row("three-digit day", QStringLiteral("1398/05/003"), S::Invalid);
    row("missing day", QStringLiteral("1398/05/"), S::Invalid);
    row("two parts", QStringLiteral("1398/05"), S::Invalid);
    row("four parts", QStringLiteral("1398/05/03/01"), S::Invalid);
    row("blank inside", QStringLiteral("1398/ 05/03"), S::Invalid);
    row("before the epoch", QStringLiteral("1331/12/29"), S::Invalid);
    row("letters", QStringLiteral("abc"), S::Invalid);
    row("empty", QString(), S::Empty);
    row("blanks", QStringLiteral("   "), S::Empty);
}

void TestCalendar::readDate()
{
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(QString, stored);
    const ShamsiDateField f = ReadShamsiDate(text);
    QCOMPARE(int(f.status), status);
    if (f.isValid())
        QCOMPARE(ShamsiDateText(f.date), stored);
}

// ShamsiToDays undoes ShamsiFromDays for every day of two leap cycles.
void TestCalendar::daysRoundTrip()
{
    for (qint64 d = 0; d < 60000; ++d) {
        const ShamsiYmd ymd = ShamsiFromDays(d);
        QVERIFY(ymd.day <= ShamsiMonthLength(ymd.year, ymd.month));
        if (ShamsiToDays(ymd) != d)
            QFAIL(qPrintable(QStringLiteral("day %1 came back as %2").arg(d).arg(ShamsiToDays(ymd))));
    }
}

void TestCalendar::completedMonths_data()
{
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("test");
    QTest::addColumn<int>("months");
    QTest::addColumn<QString>("text");

    auto row = [](const char *name, const char *birth, const char *test, int months, const QString &text) {
        QTest::newRow(name) << QString::fromLatin1(birth) << QString::fromLatin1(test) << months << text;
    };
    row("same day", "1398/05/03", "1398/05/03", 0, QStringLiteral("0 سال و 0 ماه"));
    row("day before a month", "1398/05/03", "1398/06/02", 0, QStringLiteral("0 سال و 0 ماه"));
    row("one month", "1398/05/03", "1398/06/03", 1, QStringLiteral("0 سال و 1 ماه"));
    row("7 years 4 months", "1394/01/15", "1401/05/20", 88, QStringLiteral("7 سال و 4 ماه"));
    row("6 years 11 months", "1394/01/15", "1401/01/14", 83, QStringLiteral("6 سال و 11 ماه"));
    row("birthday", "1394/01/15", "1401/01/15", 84, QStringLiteral("7 سال و 0 ماه"));
    row("31st born, shorter month", "1398/06/31", "1398/07/30", 1, QStringLiteral("0 سال و 1 ماه"));
    row("31st born, day before", "1398/06/31", "1398/07/29", 0, QStringLiteral("0 سال و 0 ماه"));
    row("leap day born, common esfand", "1399/12/30", "1400/12/29", 12, QStringLiteral("1 سال و 0 ماه"));
    row("birth after test", "1401/05/04", "1401/05/03", -1, QString());
}

void TestCalendar::completedMonths()
{
    QFETCH(QString, birth);
    QFETCH(QString, test);
    QFETCH(int, months);
    QFETCH(QString, text);
    const ShamsiDateField b = ReadShamsiDate(birth);
    const ShamsiDateField t = ReadShamsiDate(test);
    QVERIFY(b.isValid() && t.isValid());
    QCOMPARE(CompletedMonths(b.date, t.date), months);
    if (months >= 0)
        QCOMPARE(ExactAgeText(months), text);
}

QTEST_APPLESS_MAIN(TestCalendar)
#include "tst_calendar.moc"
