#include "TestHttpServer.h"
#include "common/Dialogs.h"
#include "tests/common/Children.h"
#include "updater/FileDownloader.h"
#include "updater/UpdaterWindow.h"
#include "updater/UpdaterWindowTexts.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sodium.h>

Q_DECLARE_METATYPE(TestHttpServer::Answer)

using Answer = TestHttpServer::Answer;

namespace {

const QString kSetupPath = QStringLiteral("/Soft/pelorin/setup-Pelorin.exe");
const QString kSetupName = QStringLiteral("setup-Pelorin.exe");
const QString kMarker = QStringLiteral("started.txt");

// The setup program as the server hands it out: it leaves a mark in the
// folder it was started in.
const QByteArray kSetupScript = "#!/bin/sh\necho started > started.txt\n";

struct Keys
{
    QByteArray publicKey = QByteArray(crypto_sign_PUBLICKEYBYTES, '\0');
    QByteArray secretKey = QByteArray(crypto_sign_SECRETKEYBYTES, '\0');
    Keys()
    {
        crypto_sign_keypair(
            reinterpret_cast<unsigned char *>(publicKey.data()), reinterpret_cast<unsigned char *>(secretKey.data()));
    }
    QByteArray sign(const QByteArray &file) const
    {
        QByteArray signature(crypto_sign_BYTES, '\0');
        crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr,
            reinterpret_cast<const unsigned char *>(file.constData()), size_t(file.size()),
            reinterpret_cast<const unsigned char *>(secretKey.constData()));
        return signature;
    }
};

const Keys &releaseKeys()
{
    static const Keys keys;
    return keys;
}

QByteArray slowFile()
{
    return QByteArray(1024 * 1024, 'x');
}

Answer slowBody()
{
    Answer answer { { { 0, "HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n" } } };
    for (int i = 0; i < 1024; ++i)
        answer.pieces.append({ 20, QByteArray(1024, 'x') });
    return answer;
}

Answer chunked(const QByteArray &body)
{
    QByteArray bytes = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    if (!body.isEmpty())
        bytes += QByteArray::number(body.size(), 16) + "\r\n" + body + "\r\n";
    return TestHttpServer::reply(bytes + "0\r\n\r\n");
}

QString box(const QString &title, const QString &text)
{
    return title + QLatin1Char('|') + text;
}

QStringList boxesShown()
{
    QStringList boxes;
    for (const Dialogs::Shown &shown : Dialogs::takeLog())
        boxes << box(shown.title, shown.text);
    return boxes;
}

void writeFile(const QString &path, const QByteArray &bytes, bool executable)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

} // namespace

class TestUpdaterWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void loadState();
    void flow_data();
    void flow();
    void setupThatCannotStartIsReported();
    void secondPressCancels();
    void exitDuringDownloadLeavesNoFile();
    void endsOnEveryWayOut_data();
    void endsOnEveryWayOut();
    void label4FollowsTheBar();

private:
    void prepare(
        UpdaterWindow &window, TestHttpServer &server, const QTemporaryDir &dir, Answer setup, Answer signature);
};

void TestUpdaterWindow::initTestCase()
{
    QVERIFY(sodium_init() >= 0);
}

void TestUpdaterWindow::init()
{
    Dialogs::setTestMode(true);
    Dialogs::takeLog();
}

void TestUpdaterWindow::prepare(
    UpdaterWindow &window, TestHttpServer &server, const QTemporaryDir &dir, Answer setup, Answer signature)
{
    QVERIFY(server.start([setup, signature](const QByteArray &request) {
        return request.startsWith("GET /Soft/pelorin/setup-Pelorin.exe.sig ") ? signature : setup;
    }));
    window.setProgramDir(dir.path());
    window.setPublicKey(releaseKeys().publicKey);
    child<QLineEdit>(&window, "Text")->setText(server.url(kSetupPath));
    window.show();
}

void TestUpdaterWindow::loadState()
{
    UpdaterWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("Progress"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Downloading File ... "));
    QCOMPARE(window.size(), QSize(560, 193));
    QCOMPARE(window.pos(), QPoint(165, 108));
    QVERIFY(window.windowFlags() & Qt::Tool);
    QVERIFY(!(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(child<QLabel>(&window, "Label3")->text(), QStringLiteral("Pelorin"));
    QCOMPARE(child<QPushButton>(&window, "cmdUpdate")->text(), UpdaterWindowTexts::Download);
    QCOMPARE(child<QPushButton>(&window, "Command1")->text(), UpdaterWindowTexts::Exit);
    QCOMPARE(child<QProgressBar>(&window, "ProgressBar")->value(), 0);
    QCOMPARE(child<QLineEdit>(&window, "Text")->text(), QStringLiteral(PELORIN_SERVER_URL) + kSetupPath);
    QCOMPARE(window.destination(), QDir(window.programDir()).filePath(kSetupName));
    window.show();
    QVERIFY(child<QLineEdit>(&window, "Text")->isHidden());
    QVERIFY(child<QLabel>(&window, "Label1")->isHidden());
    QVERIFY(child<QPushButton>(&window, "cmdUpdate")->x() > child<QPushButton>(&window, "Command1")->x());
}

// The whole way from the press of "دانلود" to what is started: the boxes,
// what stays in the updater's folder, and whether the setup program ran.
void TestUpdaterWindow::flow_data()
{
    QTest::addColumn<Answer>("setup");
    QTest::addColumn<Answer>("signature");
    QTest::addColumn<QByteArray>("oldSetup"); // null: none in the folder before
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("files"); // what the folder holds afterwards
    QTest::addColumn<bool>("started");

    const Keys &keys = releaseKeys();
    const Keys other;
    const QByteArray script = kSetupScript;
    const QByteArray tampered = script + "echo tampered >> started.txt\n";
    const Answer signature = TestHttpServer::file(keys.sign(script));
    const QStringList success { box(QStringLiteral("Success"), UpdaterWindowTexts::SuccessText) };
    const QStringList notVerified { box(QStringLiteral("Error"), UpdaterWindowTexts::NotVerified) };
    const QStringList empty { box(QStringLiteral("Error"), UpdaterWindowTexts::EmptyDownload) };
    // An earlier update's file that must never run again.
    const QByteArray old = "#!/bin/sh\necho old > started.txt\n";
    const QStringList nothing;

    QTest::newRow("signed file") << TestHttpServer::file(script) << signature << QByteArray() << success
                                 << QStringList { kSetupName, kMarker } << true;
    QTest::newRow("signed file replaces an older one")
        << TestHttpServer::file(script) << signature << old << success << QStringList { kSetupName, kMarker } << true;
    QTest::newRow("wrong signature") << TestHttpServer::file(script) << TestHttpServer::file(other.sign(script))
                                     << QByteArray() << notVerified << nothing << false;
    QTest::newRow("tampered file, original signature")
        << TestHttpServer::file(tampered) << signature << old << notVerified << nothing << false;
    QTest::newRow("no signature file") << TestHttpServer::file(
        script) << TestHttpServer::reply("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nNot found")
                                       << QByteArray() << notVerified << nothing << false;
    QTest::newRow("signature of 10 bytes")
        << TestHttpServer::file(script) << TestHttpServer::file(keys.sign(script).left(10)) << QByteArray()
        << notVerified << nothing << false;
    QTest::newRow("signature with a byte more")
        << TestHttpServer::file(script) << TestHttpServer::file(keys.sign(script) + '\n') << QByteArray() << notVerified
        << nothing << false;
    QTest::newRow("chunked, signed") << chunked(script) << chunked(keys.sign(script)) << QByteArray() << success
                                     << QStringList { kSetupName, kMarker } << true;
    QTest::newRow("chunked and empty") << chunked(QByteArray()) << TestHttpServer::file(keys.sign(QByteArray()))
                                       << QByteArray() << empty << nothing << false;
    QTest::newRow("Content-Length 0 with an older file")
        << TestHttpServer::file(QByteArray()) << TestHttpServer::file(keys.sign(QByteArray())) << old << empty
        << nothing << false;
    QTest::newRow("body cut short") << TestHttpServer::reply(
        "HTTP/1.1 200 OK\r\nContent-Length: 200000\r\n\r\n" + QByteArray(65536, '#'))
                                    << TestHttpServer::file(keys.sign(QByteArray(200000, '#'))) << old
                                    << QStringList { box(QStringLiteral("Error"),
                                           QStringLiteral("The connection with the server was reset.")) }
                                    << nothing << false;
    QTest::newRow("setup not found") << TestHttpServer::reply("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n")
                                     << signature << QByteArray()
                                     << QStringList { box(QStringLiteral("Error"),
                                            QStringLiteral(
                                                "The file, \"%URL%/Soft/pelorin/setup-Pelorin.exe\" was not found!")) }
                                     << nothing << false;
}

void TestUpdaterWindow::flow()
{
    QFETCH(Answer, setup);
    QFETCH(Answer, signature);
    QFETCH(QByteArray, oldSetup);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, files);
    QFETCH(bool, started);

    TestHttpServer server;
    QTemporaryDir dir;
    UpdaterWindow window;
    prepare(window, server, dir, setup, signature);
    if (!oldSetup.isNull())
        writeFile(window.destination(), oldSetup, true);
    for (QString &shown : boxes)
        shown.replace(QStringLiteral("%URL%"), server.url(QString()));
    QSignalSpy ended(&window, &UpdaterWindow::ended);

    child<QPushButton>(&window, "cmdUpdate")->click();

    QCOMPARE(boxesShown(), boxes);
    QCOMPARE(child<QPushButton>(&window, "cmdUpdate")->text(), UpdaterWindowTexts::Download);
    QCOMPARE(child<QProgressBar>(&window, "ProgressBar")->value(), 0);
    if (started) {
        QTRY_VERIFY(QFile::exists(dir.filePath(kMarker)));
        QFile marker(dir.filePath(kMarker));
        QVERIFY(marker.open(QIODevice::ReadOnly));
        QCOMPARE(marker.readAll(), QByteArray("started\n"));
        QVERIFY(QFile::permissions(window.destination()) & QFileDevice::ExeOwner);
        QVERIFY(!window.isVisible());
        QCOMPARE(ended.size(), 1);
    } else {
        // Anything started would have written its mark by now.
        QTest::qWait(300);
        QVERIFY(window.isVisible());
        QCOMPARE(ended.size(), 0);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), files);
}

void TestUpdaterWindow::setupThatCannotStartIsReported()
{
    TestHttpServer server;
    QTemporaryDir dir;
    UpdaterWindow window;
    const QByteArray notAProgram = "MZ not a program here";
    prepare(
        window, server, dir, TestHttpServer::file(notAProgram), TestHttpServer::file(releaseKeys().sign(notAProgram)));

    child<QPushButton>(&window, "cmdUpdate")->click();

    QCOMPARE(boxesShown(),
        (QStringList { box(QStringLiteral("Success"), UpdaterWindowTexts::SuccessText),
            box(QStringLiteral("Error"), UpdaterWindowTexts::SetupStartFailed + window.destination()) }));
    QVERIFY(!window.isVisible());
}

void TestUpdaterWindow::secondPressCancels()
{
    TestHttpServer server;
    QTemporaryDir dir;
    UpdaterWindow window;
    prepare(window, server, dir, slowBody(), TestHttpServer::file(releaseKeys().sign(slowFile())));
    int barDuringDownload = 0;
    QTimer::singleShot(400, &window, [&] {
        barDuringDownload = child<QProgressBar>(&window, "ProgressBar")->value();
        QCOMPARE(child<QPushButton>(&window, "cmdUpdate")->text(), UpdaterWindowTexts::CancelDownload);
        child<QPushButton>(&window, "cmdUpdate")->click();
    });

    child<QPushButton>(&window, "cmdUpdate")->click();

    QVERIFY(barDuringDownload > 0);
    QVERIFY(boxesShown().isEmpty());
    QCOMPARE(child<QPushButton>(&window, "cmdUpdate")->text(), UpdaterWindowTexts::Download);
    QCOMPARE(child<QProgressBar>(&window, "ProgressBar")->value(), 0);
    QVERIFY(window.isVisible());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TestUpdaterWindow::exitDuringDownloadLeavesNoFile()
{
    TestHttpServer server;
    QTemporaryDir dir;
    UpdaterWindow window;
    prepare(window, server, dir, slowBody(), TestHttpServer::file(releaseKeys().sign(slowFile())));
    QSignalSpy ended(&window, &UpdaterWindow::ended);
    QStringList filesWhileRunning;
    QTimer::singleShot(300, &window, [&] {
        filesWhileRunning = QDir(dir.path()).entryList(QDir::Files);
        child<QPushButton>(&window, "Command1")->click();
    });

    child<QPushButton>(&window, "cmdUpdate")->click();

    // It downloads beside the setup program's name, never under it.
    QCOMPARE(filesWhileRunning, QStringList { kSetupName + QStringLiteral(".part") });
    QVERIFY(!window.isVisible());
    QCOMPARE(ended.size(), 1);
    QVERIFY(boxesShown().isEmpty());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TestUpdaterWindow::endsOnEveryWayOut_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("exit") << false;
    QTest::newRow("close box") << true;
}

void TestUpdaterWindow::endsOnEveryWayOut()
{
    QFETCH(bool, closeBox);
    UpdaterWindow window;
    window.show();
    QSignalSpy ended(&window, &UpdaterWindow::ended);
    if (closeBox)
        window.close();
    else
        child<QPushButton>(&window, "Command1")->click();
    QCOMPARE(ended.size(), 1);
    QVERIFY(!window.isVisible());
}

void TestUpdaterWindow::label4FollowsTheBar()
{
    UpdaterWindow window;
    window.show();
    emit child<::FileDownloader>(&window, "FileDownloader")->DownloadProgress(QStringLiteral("250"));
    QCOMPARE(child<QProgressBar>(&window, "ProgressBar")->value(), 100);
    QCOMPARE(child<QLabel>(&window, "Label4")->text(), QStringLiteral("0"));
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(&window, "Label4")->text(), QStringLiteral("100"), 1500);
}

QTEST_MAIN(TestUpdaterWindow)
#include "tst_updaterwindow.moc"
