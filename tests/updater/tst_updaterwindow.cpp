#include "updater/FileDownloader.h"
#include "updater/UpdaterWindow.h"
#include "updater/UpdaterWindowTexts.h"
#include "TestHttpServer.h"
#include "common/Dialogs.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Answer = TestHttpServer::Answer;

namespace {

const QString kSetupPath = QStringLiteral("/Soft/pelorin/setup-Pelorin.exe");

// The setup program as the server hands it out: it leaves a mark in the
// folder it was started in.
const QByteArray kSetupScript = "#!/bin/sh\necho started > started.txt\n";

Answer slowBody()
{
    Answer answer { { { 0, "HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n" } } };
    for (int i = 0; i < 1024; ++i)
        answer.pieces.append({ 20, QByteArray(1024, 'x') });
    return answer;
}

} // namespace

class TestUpdaterWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void loadState();
    void downloadStartsSetupAndEnds();
    void setupThatCannotStartIsReported();
    void failureShowsErrorThenResets();
    void secondPressCancels();
    void exitDuringDownloadLeavesNoFile();
    void label4FollowsTheBar();

private:
    void prepare(UpdaterWindow &window, TestHttpServer &server, const QTemporaryDir &dir, Answer answer);
};

void TestUpdaterWindow::init()
{
    Dialogs::setTestMode(true);
}

void TestUpdaterWindow::prepare(UpdaterWindow &window, TestHttpServer &server, const QTemporaryDir &dir, Answer answer)
{
    QVERIFY(server.start([answer](const QByteArray &) { return answer; }));
    window.setProgramDir(dir.path());
    window.Text->setText(server.url(kSetupPath));
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
    QCOMPARE(window.Label3->text(), QStringLiteral("Pelorin"));
    QCOMPARE(window.cmdUpdate->text(), UpdaterWindowTexts::Download);
    QCOMPARE(window.Command1->text(), UpdaterWindowTexts::Exit);
    QCOMPARE(window.ProgressBar->value(), 0);
    QCOMPARE(window.Text->text(), QStringLiteral(PELORIN_SERVER_URL) + kSetupPath);
    QCOMPARE(window.destination(), QDir(window.programDir()).filePath(QStringLiteral("setup-Pelorin.exe")));
    window.show();
    QVERIFY(window.Text->isHidden());
    QVERIFY(window.Label1->isHidden());
    QVERIFY(window.cmdUpdate->x() > window.Command1->x());
}

void TestUpdaterWindow::downloadStartsSetupAndEnds()
{
    TestHttpServer server;
    QTemporaryDir dir;
    UpdaterWindow window;
    prepare(window, server, dir, TestHttpServer::file(kSetupScript));

    QTest::mouseClick(window.cmdUpdate, Qt::LeftButton);

    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].title, QStringLiteral("Success"));
    QCOMPARE(log[0].text, UpdaterWindowTexts::SuccessText);
    QCOMPARE(log[0].icon, Dialogs::Icon::Information);
    QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("started.txt"))));
    QVERIFY(!window.isVisible());
    QCOMPARE(window.cmdUpdate->text(), UpdaterWindowTexts::Download);
    QCOMPARE(window.ProgressBar->value(), 0);
}

void TestUpdaterWindow::setupThatCannotStartIsReported()
{
    TestHttpServer server;
    QTemporaryDir dir;
    UpdaterWindow window;
    prepare(window, server, dir, TestHttpServer::file("MZ not a program here"));

    window.cmdUpdate->click();

    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[0].title, QStringLiteral("Success"));
    QCOMPARE(log[1].title, QStringLiteral("Error"));
    QCOMPARE(log[1].text, UpdaterWindowTexts::SetupStartFailed + dir.filePath(QStringLiteral("setup-Pelorin.exe")));
    QVERIFY(!window.isVisible());
}

void TestUpdaterWindow::failureShowsErrorThenResets()
{
    TestHttpServer server;
    QTemporaryDir dir;
    UpdaterWindow window;
    prepare(window, server, dir, TestHttpServer::reply("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"));

    window.cmdUpdate->click();

    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].title, QStringLiteral("Error"));
    QCOMPARE(log[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(log[0].text, QStringLiteral("The file, \"%1\" was not found!").arg(server.url(kSetupPath)));
    QCOMPARE(window.cmdUpdate->text(), UpdaterWindowTexts::Download);
    QCOMPARE(window.ProgressBar->value(), 0);
    QVERIFY(window.isVisible());
    QVERIFY(!QFile::exists(window.destination()));
}

void TestUpdaterWindow::secondPressCancels()
{
    TestHttpServer server;
    QTemporaryDir dir;
    UpdaterWindow window;
    prepare(window, server, dir, slowBody());
    int barDuringDownload = 0;
    QTimer::singleShot(400, &window, [&] {
        barDuringDownload = window.ProgressBar->value();
        QCOMPARE(window.cmdUpdate->text(), UpdaterWindowTexts::CancelDownload);
        window.cmdUpdate->click();
    });

    window.cmdUpdate->click();

    QVERIFY(barDuringDownload > 0);
    QVERIFY(Dialogs::takeLog().isEmpty());
    QCOMPARE(window.cmdUpdate->text(), UpdaterWindowTexts::Download);
    QCOMPARE(window.ProgressBar->value(), 0);
    QVERIFY(window.isVisible());
    QVERIFY(!QFile::exists(window.destination()));
}

void TestUpdaterWindow::exitDuringDownloadLeavesNoFile()
{
    TestHttpServer server;
    QTemporaryDir dir;
    UpdaterWindow window;
    prepare(window, server, dir, slowBody());
    bool fileWhileRunning = false;
    QTimer::singleShot(300, &window, [&] {
        fileWhileRunning = QFile::exists(window.destination());
        window.Command1->click();
    });

    window.cmdUpdate->click();

    QVERIFY(fileWhileRunning);
    QVERIFY(!window.isVisible());
    QVERIFY(Dialogs::takeLog().isEmpty());
    QVERIFY(!QFile::exists(window.destination()));
}

void TestUpdaterWindow::label4FollowsTheBar()
{
    UpdaterWindow window;
    window.show();
    emit window.FileDownloader->DownloadProgress(QStringLiteral("250"));
    QCOMPARE(window.ProgressBar->value(), 100);
    QCOMPARE(window.Label4->text(), QStringLiteral("0"));
    QTRY_COMPARE_WITH_TIMEOUT(window.Label4->text(), QStringLiteral("100"), 1500);
}

QTEST_MAIN(TestUpdaterWindow)
#include "tst_updaterwindow.moc"
