#include "ProgramFolder.h"
#include "backup/BackupWindow.h"
#include "backup/ExitWindow.h"
#include "backup/ProgramEnd.h"
#include "common/Dialogs.h"
#include "data/RecordSource.h"
#include "mainwindow/MainWindow.h"
#include "tests/common/Children.h"
#include "ui/WrapButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

namespace {

namespace Text {
const QString title = QStringLiteral("تهيه نسخه پشتيبان");
const QString titleLeadingBlank = QStringLiteral(" تهيه نسخه پشتيبان");
const QString titleBackingUp = QStringLiteral("پشتيبان گيري");
const QString question = QStringLiteral("آيا براي خروج از برنامه اطمينان داريد");
} // namespace Text

// The mouse resting over \a widget (offscreen has no real pointer).
void hover(QWidget *widget, QPoint at = QPoint(5, 5))
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestExitWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void opensAsDesigned();
    void highlightFollowsTheMouse();
    void clicksTakeOnlyTheHighlightedPicture();
    void accept_data();
    void accept();
    void keyboard_data();
    void keyboard();
    void focusStaysWhenThePictureChanges();
    void cancelBringsAFreshMainWindow();
    void closeBoxEndsTheProgram();
    void titleAlternates();
    void titleAlternatesOnTheTimers();

private:
    int m_ended = 0;
};

void TestExitWindow::init()
{
    Dialogs::setTestMode(true);
    m_ended = 0;
    ProgramEnd::setHandler([this] { ++m_ended; });
}

void TestExitWindow::cleanup()
{
    ProgramEnd::setHandler({});
    Dialogs::setTestMode(false);
    for (QWidget *w : QApplication::topLevelWidgets())
        w->deleteLater();
    flushDeletes();
}

void TestExitWindow::opensAsDesigned()
{
    ExitWindow *window = ShowExitWindow({});
    QCOMPARE(window->objectName(), QStringLiteral("exitpro"));
    QVERIFY(window->isVisible());
    QCOMPARE(window->pos(), QPoint(333, 100)); // 5000, 1500 twips
    QCOMPARE(window->windowTitle(), Text::title);
    QCOMPARE(child<QLabel>(window, "Label1")->text(), Text::question);
    QCOMPARE(child<QCheckBox>(window, "Check1")->text(), Text::title);
    QVERIFY(!child<QCheckBox>(window, "Check1")->isChecked());
    QCOMPARE(child<QLabel>(window, "k1")->geometry(), QRect(164, 148, 96, 35));
    QCOMPARE(child<QLabel>(window, "k2")->geometry(), QRect(164, 148, 96, 35));
    QCOMPARE(child<QLabel>(window, "c1")->geometry(), QRect(24, 148, 96, 35));
    QVERIFY(child<QLabel>(window, "k1")->isVisible() && child<QLabel>(window, "c1")->isVisible());
    QVERIFY(child<QLabel>(window, "k2")->isHidden() && child<QLabel>(window, "c2")->isHidden());
    for (QTimer *t : { child<QTimer>(window, "Timer2"), child<QTimer>(window, "Timer3"),
             child<QTimer>(window, "tmCaptionAnimate") }) {
        QVERIFY(t->isActive());
        QCOMPARE(t->interval(), 500);
    }
}

void TestExitWindow::highlightFollowsTheMouse()
{
    ExitWindow *window = ShowExitWindow({});
    hover(child<QLabel>(window, "k1"));
    QVERIFY(child<QLabel>(window, "k1")->isHidden() && child<QLabel>(window, "k2")->isVisible());
    hover(child<QLabel>(window, "k2")); // resting on the highlight keeps it
    QVERIFY(child<QLabel>(window, "k2")->isVisible());
    // Straight over to cancel: both stay highlighted until the background.
    hover(child<QLabel>(window, "c1"));
    QVERIFY(child<QLabel>(window, "k2")->isVisible() && child<QLabel>(window, "c2")->isVisible());
    hover(window, QPoint(4, 4));
    QVERIFY(child<QLabel>(window, "k1")->isVisible() && child<QLabel>(window, "c1")->isVisible());
    QVERIFY(child<QLabel>(window, "k2")->isHidden() && child<QLabel>(window, "c2")->isHidden());
}

void TestExitWindow::clicksTakeOnlyTheHighlightedPicture()
{
    bool reloaded = false;
    ExitWindow *window = ShowExitWindow([&] { reloaded = true; });
    QTest::mouseClick(child<QLabel>(window, "k1"), Qt::LeftButton);
    QTest::mouseClick(child<QLabel>(window, "c1"), Qt::LeftButton);
    QCOMPARE(m_ended, 0);
    QVERIFY(!reloaded);
    QVERIFY(window->isVisible());
    // Pressed on the picture but let go outside it: no click.
    hover(child<QLabel>(window, "k1"));
    QTest::mousePress(child<QLabel>(window, "k2"), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(child<QLabel>(window, "k2"), Qt::LeftButton, {}, QPoint(200, 5));
    QCOMPARE(m_ended, 0);
}

void TestExitWindow::accept_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::newRow("without the backup option") << false;
    QTest::newRow("with the backup option") << true;
}

void TestExitWindow::accept()
{
    QFETCH(bool, ticked);
    ExitWindow *window = ShowExitWindow({});
    child<QCheckBox>(window, "Check1")->setChecked(ticked);
    hover(child<QLabel>(window, "k1"));
    QTest::mouseClick(child<QLabel>(window, "k2"), Qt::LeftButton);
    if (!ticked) {
        QCOMPARE(m_ended, 1);
        QVERIFY(!window->backupWindow());
        return;
    }
    QCOMPARE(m_ended, 0);
    QVERIFY(window->backupWindow());
    QCOMPARE(window->backupWindow()->objectName(), QStringLiteral("Frmbackup"));
    QVERIFY(window->backupWindow()->isVisible());
    QVERIFY(window->isHidden());
    window->backupWindow()->close();
    QCOMPARE(m_ended, 1);
}

// Without a mouse: Enter confirms, Escape cancels, Tab moves from the
// option to confirm and on to cancel, where Enter or Space cancels.
void TestExitWindow::keyboard_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("focused"); // before the last key
    QTest::addColumn<bool>("ended");
    QTest::addColumn<bool>("reloaded");
    QTest::newRow("Enter") << QList<int> { Qt::Key_Return } << "Check1" << true << false;
    QTest::newRow("Escape") << QList<int> { Qt::Key_Escape } << "Check1" << false << true;
    QTest::newRow("Tab, Enter on confirm") << QList<int> { Qt::Key_Tab, Qt::Key_Enter } << "k1" << true << false;
    QTest::newRow("Tab, Space on confirm") << QList<int> { Qt::Key_Tab, Qt::Key_Space } << "k1" << true << false;
    QTest::newRow("Tab, Tab, Enter on cancel")
        << QList<int> { Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return } << "c1" << false << true;
    QTest::newRow("Tab, Tab, Space on cancel")
        << QList<int> { Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space } << "c1" << false << true;
    QTest::newRow("Tab, Tab, Escape") << QList<int> { Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Escape } << "c1" << false
                                      << true;
}

void TestExitWindow::keyboard()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, focused);
    QFETCH(bool, ended);
    QFETCH(bool, reloaded);
    bool back = false;
    QPointer<ExitWindow> window = ShowExitWindow([&] { back = true; });
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    child<QCheckBox>(window, "Check1")->setFocus();
    for (int i = 0; i < keys.size(); ++i) {
        if (i == keys.size() - 1)
            QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), focused);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(keys[i]));
    }
    QCOMPARE(m_ended, ended ? 1 : 0);
    QCOMPARE(back, reloaded);
    QVERIFY(!window || !child<QCheckBox>(window, "Check1")->isChecked()); // Space on a picture ticks nothing
}

// The mouse over the focused button swaps its picture; the focus goes
// along, so Enter still acts on it.
void TestExitWindow::focusStaysWhenThePictureChanges()
{
    bool back = false;
    ExitWindow *window = ShowExitWindow([&] { back = true; });
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    child<QLabel>(window, "c1")->setFocus();
    hover(child<QLabel>(window, "c1"));
    QVERIFY(child<QLabel>(window, "c2")->isVisible());
    QCOMPARE(QApplication::focusWidget(), child<QLabel>(window, "c2"));
    hover(window); // back over the background
    QCOMPARE(QApplication::focusWidget(), child<QLabel>(window, "c1"));
    QTest::keyClick(child<QLabel>(window, "c1"), Qt::Key_Return);
    QVERIFY(back);
    QCOMPARE(m_ended, 0);
}

void TestExitWindow::cancelBringsAFreshMainWindow()
{
    ProgramFolder folder;
    QPointer<MainWindow> fresh;
    // The program's wiring: the exit hook opens this window, cancel reloads.
    QPointer<MainWindow> first = new MainWindow;
    connect(first, &MainWindow::exitRequested, this, [&] {
        ShowExitWindow([&] {
            fresh = new MainWindow;
            QString error;
            QVERIFY2(fresh->load(&error), qPrintable(error));
            fresh->show();
        });
    });
    QString error;
    QVERIFY2(first->load(&error), qPrintable(error));
    first->show();
    first->showArea(MainWindow::Area::Registration);

    QTest::mouseClick(child<QPushButton>(first, "Command1"), Qt::LeftButton);
    flushDeletes();
    QVERIFY(!first); // unloaded
    QPointer<ExitWindow> window;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("exitpro") && w->isVisible())
            window = qobject_cast<ExitWindow *>(w);
    QVERIFY(window);
    QCOMPARE(window->pos(), QPoint(333, 100));

    hover(child<QLabel>(window, "c1"));
    QTest::mouseClick(child<QLabel>(window, "c2"), Qt::LeftButton);
    flushDeletes();
    QVERIFY(!window);
    QCOMPARE(m_ended, 0);
    QVERIFY(fresh);
    QVERIFY(fresh->isVisible());
    QCOMPARE(fresh->area(), MainWindow::Area::Credits);
    QVERIFY(child<RecordSource>(fresh, "Adodc1")->rowCount() >= 0
        && !child<RecordSource>(fresh, "Adodc1")->fieldNames().isEmpty());
}

void TestExitWindow::closeBoxEndsTheProgram()
{
    ExitWindow *window = ShowExitWindow({});
    window->close();
    QCOMPARE(m_ended, 1);
}

void TestExitWindow::titleAlternates()
{
    ExitWindow window({});
    window.timer2Tick();
    QCOMPARE(window.windowTitle(), Text::titleLeadingBlank);
    QVERIFY(child<QTimer>(&window, "Timer3")->isActive() && !child<QTimer>(&window, "Timer2")->isActive());
    window.captionAnimateTick();
    QCOMPARE(child<QCheckBox>(&window, "Check1")->text(), Text::titleLeadingBlank);
    window.timer3Tick();
    QCOMPARE(window.windowTitle(), Text::titleBackingUp);
    QVERIFY(child<QTimer>(&window, "Timer2")->isActive() && !child<QTimer>(&window, "Timer3")->isActive());
    window.captionAnimateTick();
    QCOMPARE(child<QCheckBox>(&window, "Check1")->text(), Text::titleBackingUp);

    // A title of one character or none is put back instead of copied.
    window.setWindowTitle(QStringLiteral("x"));
    window.captionAnimateTick();
    QCOMPARE(window.windowTitle(), Text::titleLeadingBlank);
    QCOMPARE(child<QCheckBox>(&window, "Check1")->text(), Text::titleBackingUp);
}

// The same alternation on the running timers, over a few half seconds.
void TestExitWindow::titleAlternatesOnTheTimers()
{
    ExitWindow window({});
    window.show();
    QStringList titles;
    connect(&window, &QWidget::windowTitleChanged, this, [&](const QString &t) { titles << t; });
    QTRY_VERIFY_WITH_TIMEOUT(titles.size() >= 3, 5000);
    QCOMPARE(titles[0], Text::titleLeadingBlank);
    for (int i = 1; i < titles.size(); ++i)
        QCOMPARE(titles[i], i % 2 ? Text::titleBackingUp : Text::titleLeadingBlank);
    QVERIFY(child<QCheckBox>(&window, "Check1")->text() == Text::titleLeadingBlank
        || child<QCheckBox>(&window, "Check1")->text() == Text::titleBackingUp);
}

QTEST_MAIN(TestExitWindow)
#include "tst_exitwindow.moc"
