#include "TestHttpServer.h"
#include "update/UpdateRules.h"
#include "update/VersionFetcher.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(TestHttpServer::Answer)

using Answer = TestHttpServer::Answer;

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void isNewer_data();
    void isNewer();
    void runningVersion_data();
    void runningVersion();
    void fetch_data();
    void fetch();
};

void TestUpdateCheck::isNewer_data()
{
    QTest::addColumn<QString>("versionFile");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("newer");
    QTest::newRow("24 against 2.3") << QStringLiteral("24") << 2 << 3 << true;
    QTest::newRow("23 against 2.3") << QStringLiteral("23") << 2 << 3 << false;
    QTest::newRow("2.4 is less than 23") << QStringLiteral("2.4") << 2 << 3 << false;
    QTest::newRow("blanks before, line break after") << QStringLiteral("  24\r\n") << 2 << 3 << true;
    QTest::newRow("line feed before") << QStringLiteral("\n24") << 2 << 3 << true;
    QTest::newRow("empty") << QString() << 2 << 3 << false;
    QTest::newRow("not a number") << QStringLiteral("<html>") << 2 << 3 << false;
    QTest::newRow("22 is older") << QStringLiteral("22") << 2 << 3 << false;
    QTest::newRow("110 against 2.0") << QStringLiteral("110") << 2 << 0 << true;
    QTest::newRow("20 against 1.10") << QStringLiteral("20") << 1 << 10 << false;
}

void TestUpdateCheck::isNewer()
{
    QFETCH(QString, versionFile);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, newer);
    QCOMPARE(UpdateRules::isNewer(versionFile, major, minor), newer);
}

void TestUpdateCheck::runningVersion_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("2.3") << 2 << 3 << qint64(23) << QStringLiteral("2.3");
    QTest::newRow("1.10") << 1 << 10 << qint64(110) << QStringLiteral("1.10");
    QTest::newRow("2.0") << 2 << 0 << qint64(20) << QStringLiteral("2.0");
}

void TestUpdateCheck::runningVersion()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(qint64, number);
    QFETCH(QString, text);
    QCOMPARE(UpdateRules::runningVersion(major, minor), number);
    QCOMPARE(UpdateRules::versionText(major, minor), text);
}

void TestUpdateCheck::fetch_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("text");
    QTest::newRow("version file") << TestHttpServer::file("24\r\n") << QStringLiteral("24\r\n");
    QTest::newRow("error page is no version")
        << TestHttpServer::reply("HTTP/1.1 404 Not Found\r\nContent-Length: 13\r\n\r\n404 Not Found") << QString();
    QTest::newRow("one redirect is followed")
        << TestHttpServer::reply("HTTP/1.1 302 Found\r\nLocation: /moved.txt\r\nContent-Length: 0\r\n\r\n")
        << QStringLiteral("24");
    QTest::newRow("no answer in time") << Answer { { { 5000, QByteArray() } }, true } << QString();
    QTest::newRow("closed without answer") << TestHttpServer::reply(QByteArray()) << QString();
    // A huge file is cut at 64 KB, without waiting for the rest.
    const QByteArray huge = "24\r\n" + QByteArray(100 * 1024, '#');
    QTest::newRow("1.5 GB announced, 64 KB read")
        << Answer { { { 0, "HTTP/1.1 200 OK\r\nContent-Length: 1500000000\r\n\r\n" + huge } }, true }
        << QString::fromLatin1(huge.left(VersionFetcher::kMaxBody));
}

void TestUpdateCheck::fetch()
{
    QFETCH(Answer, answer);
    QFETCH(QString, text);
    TestHttpServer server;
    QVERIFY(server.start([answer](const QByteArray &request) {
        return request.startsWith("GET /moved.txt") ? TestHttpServer::file("24") : answer;
    }));
    VersionFetcher fetcher;
    fetcher.setTimeout(500);
    QSignalSpy done(&fetcher, &VersionFetcher::finished);
    fetcher.fetch(server.url(QStringLiteral("/Soft/pelorin/LastVersion.txt")));
    QVERIFY(done.wait(3000));
    QCOMPARE(done.first().first().toString(), text);
    QVERIFY(!fetcher.isRunning());
}

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
