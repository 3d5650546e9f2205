// The updater as a process: every way out of it ends the program. It runs
// the test copy of Pelorinupdate (the same main, with the address, key and
// first action from its command line) from a folder of its own.

#include "TestHttpServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sodium.h>

namespace {

const QByteArray kSetupScript = "#!/bin/sh\necho started > started.txt\n";

} // namespace

class TestUpdaterProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ends_data();
    void ends();

private:
    QByteArray m_publicKey = QByteArray(crypto_sign_PUBLICKEYBYTES, '\0');
    QByteArray m_signature = QByteArray(crypto_sign_BYTES, '\0');
};

void TestUpdaterProcess::initTestCase()
{
    QVERIFY(sodium_init() >= 0);
    QByteArray secretKey(crypto_sign_SECRETKEYBYTES, '\0');
    crypto_sign_keypair(
        reinterpret_cast<unsigned char *>(m_publicKey.data()), reinterpret_cast<unsigned char *>(secretKey.data()));
    crypto_sign_detached(reinterpret_cast<unsigned char *>(m_signature.data()), nullptr,
        reinterpret_cast<const unsigned char *>(kSetupScript.constData()), size_t(kSetupScript.size()),
        reinterpret_cast<const unsigned char *>(secretKey.constData()));
}

void TestUpdaterProcess::ends_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("started");
    QTest::newRow("exit") << QStringLiteral("exit") << QString() << false;
    QTest::newRow("close box") << QStringLiteral("close") << QString() << false;
    QTest::newRow("started setup") << QStringLiteral("download") << QStringLiteral("box: Success|") << true;
}

void TestUpdaterProcess::ends()
{
    QFETCH(QString, action);
    QFETCH(QString, box);
    QFETCH(bool, started);

    TestHttpServer server;
    const QByteArray signature = m_signature;
    QVERIFY(server.start([signature](const QByteArray &request) {
        return TestHttpServer::file(
            request.startsWith("GET /Soft/pelorin/setup-Pelorin.exe.sig ") ? signature : kSetupScript);
    }));
    // The updater saves and starts the setup program in its own folder.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("Pelorinupdate"));
    QVERIFY(QFile::copy(QStringLiteral(UPDATER_TEST_COPY), program));

    QProcess updater;
    QByteArray output;
    connect(&updater, &QProcess::readyReadStandardOutput, this, [&] { output += updater.readAllStandardOutput(); });
    QSignalSpy finished(&updater, &QProcess::finished);
    updater.start(program,
        { QStringLiteral("--setup-url"), server.url(QStringLiteral("/Soft/pelorin/setup-Pelorin.exe")),
            QStringLiteral("--public-key"), QString::fromLatin1(m_publicKey.toHex()), QStringLiteral("--then"),
            action });
    QVERIFY(updater.waitForStarted());

    // From the moment the way out is taken, one second at most.
    if (started)
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath(QStringLiteral("started.txt"))), 20000);
    else
        QTRY_VERIFY_WITH_TIMEOUT(output.contains("action: " + action.toLatin1()), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 1000);
    QCOMPARE(updater.exitStatus(), QProcess::NormalExit);
    QCOMPARE(updater.exitCode(), 0);
    output += updater.readAllStandardOutput();
    if (box.isEmpty())
        QVERIFY2(!output.contains("box: "), output.constData());
    else
        QVERIFY2(output.contains(box.toUtf8()), output.constData());
}

QTEST_GUILESS_MAIN(TestUpdaterProcess)
#include "tst_updaterprocess.moc"
