#include "TestHttpServer.h"
#include "common/Dialogs.h"
#include "tests/common/Children.h"
#include "update/UpdateRules.h"
#include "update/UpdateWindow.h"
#include "update/UpdateWindowTexts.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Stands in for the updater: leaves a mark in the folder it runs in.
void placeUpdater(const QTemporaryDir &dir, bool executable)
{
    QFile updater(dir.filePath(UpdateRules::updaterFileName()));
    QVERIFY(updater.open(QIODevice::WriteOnly));
    updater.write("#!/bin/sh\necho started > started.txt\n");
    updater.close();
    if (executable)
        updater.setPermissions(updater.permissions() | QFileDevice::ExeOwner);
}

} // namespace

class TestUpdateWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void loadState();
    void newerVersionStartsUpdater();
    void noNewerVersion_data();
    void noNewerVersion();
    void updaterCannotStart_data();
    void updaterCannotStart();
    void closingWhileWaiting();

private:
    void prepare(UpdateWindow &window, TestHttpServer &server, const QTemporaryDir &dir, const QByteArray &versionFile,
        int delayMs = 0);
};

void TestUpdateWindow::init()
{
    Dialogs::setTestMode(true);
}

void TestUpdateWindow::prepare(
    UpdateWindow &window, TestHttpServer &server, const QTemporaryDir &dir, const QByteArray &versionFile, int delayMs)
{
    const TestHttpServer::Answer answer { { { delayMs, TestHttpServer::file(versionFile).pieces[0].bytes } } };
    QVERIFY(server.start([answer](const QByteArray &request) {
        return request.startsWith("GET /Soft/pelorin/LastVersion.txt ")
            ? answer
            : TestHttpServer::reply("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    }));
    window.setServerUrl(server.url(QString()));
    window.setProgramDir(dir.path());
    window.show();
}

void TestUpdateWindow::loadState()
{
    UpdateWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("FrmUpdate"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Pelorin 2.3"));
    QCOMPARE(child<QLabel>(&window, "Label1")->text(), QStringLiteral("Pelorin 2.3"));
    QCOMPARE(window.pos(), QPoint(339, 116));
    QCOMPARE(child<QPushButton>(&window, "Command1")->text(), UpdateWindowTexts::CheckButton);
    QCOMPARE(child<QPushButton>(&window, "Command2")->text(), UpdateWindowTexts::ExitButton);
    QCOMPARE(child<QLabel>(&window, "SkinLabel1")->text(), UpdateWindowTexts::Hint);
    QVERIFY(window.isModal());
}

void TestUpdateWindow::newerVersionStartsUpdater()
{
    TestHttpServer server;
    QTemporaryDir dir;
    placeUpdater(dir, true);
    UpdateWindow window;
    prepare(window, server, dir, "24\r\n");
    QSignalSpy started(&window, &UpdateWindow::updaterStarted);

    QTest::mouseClick(child<QPushButton>(&window, "Command1"), Qt::LeftButton);
    QVERIFY(!child<QPushButton>(&window, "Command1")->isEnabled());
    QCOMPARE(window.windowTitle(), UpdateWindowTexts::PleaseWait);
    QVERIFY(QApplication::overrideCursor());

    QVERIFY(started.wait(3000));
    QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("started.txt"))));
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(Dialogs::takeLog().isEmpty());
}

void TestUpdateWindow::noNewerVersion_data()
{
    QTest::addColumn<QByteArray>("versionFile");
    QTest::newRow("same version") << QByteArray("23");
    QTest::newRow("2.4 is older") << QByteArray("2.4");
    QTest::newRow("empty file") << QByteArray();
}

void TestUpdateWindow::noNewerVersion()
{
    QFETCH(QByteArray, versionFile);
    TestHttpServer server;
    QTemporaryDir dir;
    placeUpdater(dir, true);
    UpdateWindow window;
    prepare(window, server, dir, versionFile);
    QSignalSpy started(&window, &UpdateWindow::updaterStarted);

    child<QPushButton>(&window, "Command1")->click();

    QTRY_VERIFY(child<QPushButton>(&window, "Command1")->isEnabled());
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].title, QStringLiteral("Pelorin"));
    QCOMPARE(log[0].text, UpdateWindowTexts::UpToDate);
    QCOMPARE(log[0].icon, Dialogs::Icon::Information);
    QCOMPARE(window.windowTitle(), QStringLiteral("2.3"));
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(started.count(), 0);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("started.txt"))));
}

void TestUpdateWindow::updaterCannotStart_data()
{
    QTest::addColumn<bool>("present");
    QTest::newRow("missing") << false;
    QTest::newRow("not runnable") << true;
}

void TestUpdateWindow::updaterCannotStart()
{
    QFETCH(bool, present);
    TestHttpServer server;
    QTemporaryDir dir;
    if (present)
        placeUpdater(dir, false);
    UpdateWindow window;
    prepare(window, server, dir, "24");
    QSignalSpy started(&window, &UpdateWindow::updaterStarted);

    child<QPushButton>(&window, "Command1")->click();

    QTRY_VERIFY(child<QPushButton>(&window, "Command1")->isEnabled());
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].text, UpdateWindowTexts::UpdaterNotStarted + dir.filePath(UpdateRules::updaterFileName()));
    QCOMPARE(log[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(started.count(), 0);
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("2.3"));
    QVERIFY(!QApplication::overrideCursor());
}

void TestUpdateWindow::closingWhileWaiting()
{
    TestHttpServer server;
    QTemporaryDir dir;
    placeUpdater(dir, true);
    UpdateWindow window;
    prepare(window, server, dir, "24", 1500);
    QSignalSpy started(&window, &UpdateWindow::updaterStarted);

    child<QPushButton>(&window, "Command1")->click();
    QTest::qWait(100);
    child<QPushButton>(&window, "Command2")->click();
    QVERIFY(!window.isVisible());
    QVERIFY(!QApplication::overrideCursor());

    QTest::qWait(1800);
    QCOMPARE(started.count(), 0);
    QVERIFY(Dialogs::takeLog().isEmpty());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("started.txt"))));
}

QTEST_MAIN(TestUpdateWindow)
#include "tst_updatewindow.moc"
