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
    const QList<int> expected = {1333, 1337, 1342, 1346, 1350, 1354, 1358, 1362, 1366, 1370, 1375,
                                 1379, 1383, 1387, 1391, 1395, 1399, 1403, 1408, 1412, 1416, 1420,
                                 1424, 1428, 1432, 1436, 1437, 1441, 1445, 1449, 1453, 1457};
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

QTEST_APPLESS_MAIN(TestCalendar)
#include "tst_calendar.moc"
