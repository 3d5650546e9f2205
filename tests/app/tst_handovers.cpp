#include "Handovers.h"
#include "ProgramFolder.h"
#include "backup/ExitWindow.h"
#include "backup/ProgramEnd.h"
#include "common/Dialogs.h"
#include "data/DataTexts.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/settings/SettingsPanel.h"
#include "test/contentwindow/ContentWindow.h"
#include "tests/common/Children.h"
#include "ui/Twips.h"
#include "ui/WrapButton.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {

template <typename T> QList<T *> visibleWindows()
{
    QList<T *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            found << t;
    }
    return found;
}

} // namespace

class TestHandovers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void exitWindowAndBack();
    void brokenDatabaseIsReported();
    void settingsPanelOpensTheContentWindow();
    void startOnALockedFileSaysSo();
};

void TestHandovers::initTestCase()
{
    Dialogs::setTestMode(true);
}

// The exit action shows the exit window at (5000, 1500) twips and unloads the
// main window; Cancel brings a freshly loaded one with its panels closed.
void TestHandovers::exitWindowAndBack()
{
    ProgramFolder folder;
    int ends = 0;
    ProgramEnd::setHandler([&] { ++ends; });
    QPointer<MainWindow> first = OpenMainWindow();
    QVERIFY(first);
    child<WrapButton>(first, "Command2")->click();
    QCOMPARE(first->area(), MainWindow::Area::Registration);

    first->close(); // the system close box runs the exit action too
    QTRY_VERIFY(first.isNull());
    const auto exits = visibleWindows<ExitWindow>();
    QCOMPARE(exits.size(), 1);
    QCOMPARE(exits[0]->pos(), QPoint(Twips::px(5000), Twips::px(1500)));

    exits[0]->cancel();
    const auto mains = visibleWindows<MainWindow>();
    QCOMPARE(mains.size(), 1);
    QCOMPARE(mains[0]->area(), MainWindow::Area::Credits);
    QVERIFY(child<RecordSource>(mains[0], "Adodc1")->isOpen());
    QTRY_VERIFY(visibleWindows<ExitWindow>().isEmpty());
    QCOMPARE(ends, 0);

    child<WrapButton>(mains[0], "Command1")->click();
    QTRY_COMPARE(visibleWindows<ExitWindow>().size(), 1);
    visibleWindows<ExitWindow>()[0]->accept(); // without the backup option: the end
    QCOMPARE(ends, 1);
    for (ExitWindow *e : visibleWindows<ExitWindow>())
        delete e;
    ProgramEnd::setHandler({});
}

void TestHandovers::brokenDatabaseIsReported()
{
    ProgramFolder folder;
    QFile::remove(AppPaths::themeDatabase());
    Dialogs::takeLog();
    QVERIFY(!OpenMainWindow());
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].title, QStringLiteral("خطا"));
    QVERIFY(log[0].text.contains(QStringLiteral("Theme.skn")));
    QVERIFY(!QFile::exists(AppPaths::themeDatabase()));
}

// "مواد آزمون" in the settings panel opens the content window over the
// main window, showing the content in use.
void TestHandovers::settingsPanelOpensTheContentWindow()
{
    ProgramFolder folder;
    QPointer<MainWindow> main = OpenMainWindow();
    QVERIFY(main);
    // Without its content folder the program says so and opens nothing.
    Dialogs::takeLog();
    child<QPushButton>(main->settingsPanel(), "CmdContent")->click();
    QVERIFY(visibleWindows<ContentWindow>().isEmpty());
    const QList<Dialogs::Shown> shown = Dialogs::takeLog();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].text.contains(QStringLiteral("manifest.json")), qPrintable(shown[0].text));

    QVERIFY(QFile::link(QStringLiteral(PELORIN_CONTENT_DIR), AppPaths::contentDir()));
    QPushButton *button = child<QPushButton>(main->settingsPanel(), "CmdContent");
    QCOMPARE(button->text(), QStringLiteral("مواد آزمون"));
    button->click();
    const auto windows = visibleWindows<ContentWindow>();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows[0]->parentWidget(), main.data());
    QVERIFY(child<QLabel>(windows[0], "LblInUse")->text().contains(QStringLiteral("مجموعه نمايشي")));
    windows[0]->close();
    QTRY_VERIFY(visibleWindows<ContentWindow>().isEmpty());
    delete main;
}

// Another program holds the examinee file: starting a test says so, instead
// of doing nothing as if no examinee were registered.
void TestHandovers::startOnALockedFileSaysSo()
{
    ProgramFolder folder;
    QPointer<MainWindow> main = OpenMainWindow();
    QVERIFY(main);
    addExaminee(QStringLiteral("5"));
    Dialogs::takeLog();
    Dialogs::setNextInput(QStringLiteral("5"));
    {
        ExclusiveLock lock(AppPaths::examineeDatabase());
        Q_EMIT main->startTestRequested();
    }
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].title, QStringLiteral("خطا"));
    QCOMPARE(log[0].text, DataTexts::locked);
    QVERIFY(main->isVisible()); // no test window took its place
    delete main.data();
}

QTEST_MAIN(TestHandovers)
#include "tst_handovers.moc"
