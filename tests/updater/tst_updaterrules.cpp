#include "updater/UpdaterRules.h"

#include <QTest>

class TestUpdaterRules : public QObject
{
    Q_OBJECT

private slots:
    void fileName_data();
    void fileName();
    void leadingNumber_data();
    void leadingNumber();
    void percent_data();
    void percent();
    void barValue_data();
    void barValue();
};

void TestUpdaterRules::fileName_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    QTest::newRow("shipped address") << QStringLiteral("http://www.pelorin-soft.example/Soft/pelorin/setup-Pelorin.exe")
                                     << QStringLiteral("setup-Pelorin.exe");
    QTest::newRow("encrypted scheme") << QStringLiteral("https://host/Soft/pelorin/setup-Pelorin.exe")
                                      << QStringLiteral("setup-Pelorin.exe");
    QTest::newRow("encrypted scheme alone") << QStringLiteral("https://") << QString();
    QTest::newRow("other scheme") << QStringLiteral("ftp://host/setup-Pelorin.exe") << QString();
    QTest::newRow("scheme in capitals") << QStringLiteral("HTTP://host/setup-Pelorin.exe") << QString();
    QTest::newRow("scheme alone") << QStringLiteral("http://") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no dot in the last part") << QStringLiteral("http://host/Soft/setup") << QString();
    QTest::newRow("dot only at the end") << QStringLiteral("http://host/Soft/setup.") << QString();
    // The last character is never searched, so a trailing "/" stays in the name.
    QTest::newRow("trailing slash") << QStringLiteral("http://host/Soft.d/") << QStringLiteral("Soft.d/");
    QTest::newRow("host only") << QStringLiteral("http://host.example") << QStringLiteral("host.example");
    QTest::newRow("host with a name") << QStringLiteral("http://h/a.b") << QStringLiteral("a.b");
    QTest::newRow("one-letter part") << QStringLiteral("http://host/x") << QString();
}

void TestUpdaterRules::fileName()
{
    QFETCH(QString, address);
    QFETCH(QString, name);
    QCOMPARE(UpdaterRules::GetFileName(address), name);
}

void TestUpdaterRules::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << QStringLiteral("3000") << 3000.0;
    QTest::newRow("blanks, tabs and line feeds") << QStringLiteral(" \t\n 1 024\n") << 1024.0;
    QTest::newRow("stops at a letter") << QStringLiteral("12abc") << 12.0;
    QTest::newRow("stops at CR") << QStringLiteral("24\r\n") << 24.0;
    QTest::newRow("fraction") << QStringLiteral("2.5") << 2.5;
    QTest::newRow("second point ends it") << QStringLiteral("2.5.1") << 2.5;
    QTest::newRow("negative") << QStringLiteral("-7") << -7.0;
    QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("sign alone") << QStringLiteral("-") << 0.0;
    QTest::newRow("Persian digits are no number") << QStringLiteral("\u06F2\u06F4") << 0.0;
}

void TestUpdaterRules::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(UpdaterRules::leadingNumber(text), value);
}

void TestUpdaterRules::percent_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QString>("text");
    QTest::newRow("2 of 3") << qint64(2) << qint64(3) << QStringLiteral("67");
    QTest::newRow("1 of 8, half to even down") << qint64(1) << qint64(8) << QStringLiteral("12");
    QTest::newRow("3 of 8, half to even up") << qint64(3) << qint64(8) << QStringLiteral("38");
    QTest::newRow("all") << qint64(3000) << qint64(3000) << QStringLiteral("100");
    QTest::newRow("more than announced") << qint64(20) << qint64(10) << QStringLiteral("200");
    QTest::newRow("beyond 32 bits") << (qint64(1) << 33) << (qint64(1) << 34) << QStringLiteral("50");
}

void TestUpdaterRules::percent()
{
    QFETCH(qint64, received);
    QFETCH(qint64, length);
    QFETCH(QString, text);
    QCOMPARE(UpdaterRules::percentText(received, length), text);
}

void TestUpdaterRules::barValue_data()
{
    QTest::addColumn<QString>("percent");
    QTest::addColumn<int>("value");
    QTest::newRow("within") << QStringLiteral("67") << 67;
    QTest::newRow("above 100 is held") << QStringLiteral("200") << 100;
    QTest::newRow("negative is held") << QStringLiteral("-3") << 0;
    QTest::newRow("not a number") << QStringLiteral("x") << 0;
}

void TestUpdaterRules::barValue()
{
    QFETCH(QString, percent);
    QFETCH(int, value);
    QCOMPARE(UpdaterRules::barValue(percent), value);
}

QTEST_APPLESS_MAIN(TestUpdaterRules)
#include "tst_updaterrules.moc"
