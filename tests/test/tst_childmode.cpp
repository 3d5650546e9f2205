#include "Children.h"
#include "ExamFolder.h"

#include "common/Dialogs.h"
#include "data/AnswerLog.h"
#include "test/scoring/ClickGuard.h"
#include "test/window/ChildLock.h"
#include "test/window/HotSpot.h"
#include "test/window/TestWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSqlError>
#include <QSqlQuery>
#include <QWindow>

// The test window with child mode on in the clinic profile: the child
// cannot leave it during a test, and only a plain click answers.
class TestChildMode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void offByDefault();
    void backdropDuringTheTestOnly();
    void leavingIgnoredDuringTheTest_data();
    void leavingIgnoredDuringTheTest();
    void exitButtonStillCloses();
    void presses_data();
    void presses();
    void keysToTheOptionsRecordNothing();

private:
    TestWindow *open(bool childMode);
    HotSpot *spot(int item, int option) const
    {
        return child<HotSpot>(m_window, QStringLiteral("Lbl%1_%2").arg(option).arg(item));
    }
    template <typename T> T *control(const char *name) const { return child<T>(m_window, QLatin1String(name)); }
    QPoint at(int item, int option, const QPoint &offset = QPoint()) const;
    /// What the window system sends for the close box and for Alt+F4.
    bool requestClose();
    int logRows() const;

    ExamFolder *m_folder = nullptr;
    QWidget *m_main = nullptr;
    TestWindow *m_window = nullptr;
    ClinicValues m_clinic;
};

void TestChildMode::init()
{
    Dialogs::setTestMode(true);
    ClickGuard::setInterval(0);
    m_folder = new ExamFolder;
    m_main = new QWidget;
    addExaminee(QStringLiteral("07"), QStringLiteral("7"));
}

void TestChildMode::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_main;
    m_main = nullptr;
    delete m_folder;
    m_folder = nullptr;
    ClickGuard::setInterval(ClickGuard::kDefaultMs);
    for (QWidget *w : QApplication::topLevelWidgets())
        w->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TestWindow *TestChildMode::open(bool childMode)
{
    QSqlQuery q(Database::connection(Database::File::Theme));
    q.prepare(QStringLiteral("UPDATE Theme SET ChildMode = ?"));
    q.addBindValue(childMode ? 1 : 0);
    if (!q.exec())
        qFatal("theme: %s", qPrintable(q.lastError().text()));
    m_window = new TestWindow(m_main, &m_clinic);
    QString error;
    if (!m_window->load(QStringLiteral("07"), &error))
        qFatal("load: %s", qPrintable(error));
    m_window->setExamineeCode(QStringLiteral("07"));
    m_main->show();
    m_window->show();
    m_main->hide();
    m_window->activate();
    return m_window;
}

QPoint TestChildMode::at(int item, int option, const QPoint &offset) const
{
    HotSpot *s = spot(item, option);
    return s->mapTo(m_window, s->rect().center() + offset);
}

bool TestChildMode::requestClose()
{
    QCloseEvent close;
    QCoreApplication::sendEvent(m_window->windowHandle(), &close);
    QCoreApplication::processEvents();
    return !m_window->isVisible();
}

int TestChildMode::logRows() const
{
    return int(AnswerLog::read(Database::connection(Database::File::Examinee), QStringLiteral("07")).size());
}

void TestChildMode::offByDefault()
{
    // A fresh profile has it off: the window behaves as without it.
    QSqlQuery q(Database::connection(Database::File::Theme));
    QVERIFY(q.exec(QStringLiteral("SELECT ChildMode FROM Theme")) && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    q.finish();
    open(false);
    m_window->StartTest();
    QVERIFY(!m_window->childModeSet());
    QVERIFY(!m_window->childLock()->active());
    // A long press still answers, and the close box closes.
    QTest::mousePress(m_window->windowHandle(), Qt::LeftButton, {}, at(1, 2));
    QTest::mouseRelease(m_window->windowHandle(), Qt::LeftButton, {}, at(1, 2), 2500);
    QCOMPARE(storedField("Answer", "07", "1"), QStringLiteral("2"));
    QVERIFY(requestClose());
}

void TestChildMode::backdropDuringTheTestOnly()
{
    open(true);
    const QPoint before = m_window->pos();
    QVERIFY(!m_window->childLock()->backdrop());
    QTest::mouseClick(control<QPushButton>("Command7"), Qt::LeftButton); // "شروع"
    QWidget *backdrop = m_window->childLock()->backdrop();
    QVERIFY(backdrop);
    QVERIFY(backdrop->isVisible());
    const QRect screen = m_window->screen()->geometry();
    QCOMPARE(backdrop->geometry(), screen);
    // The colour round the edge of the window's background picture.
    const QColor colour = backdrop->palette().color(QPalette::Window);
    const QImage picture = m_window->palette().brush(QPalette::Window).textureImage();
    QVERIFY(!picture.isNull());
    const QColor corner = picture.pixelColor(0, 0);
    QVERIFY2(qAbs(colour.green() - corner.green()) < 40 && colour.green() > colour.red(), qPrintable(colour.name()));
    QCOMPARE(backdrop->grab().toImage().pixelColor(5, 5), colour);
    // Centred on the screen.
    const QPoint centre = m_window->frameGeometry().center();
    QVERIFY(qAbs(centre.x() - screen.center().x()) <= 1 && qAbs(centre.y() - screen.center().y()) <= 1);

    // Activations (the raise over the backdrop) bring no "شروع" back.
    m_window->activate();
    QVERIFY(!control<QPushButton>("Command7")->isVisible());
    QVERIFY(control<QPushButton>("Command4")->isVisible());

    QTest::mouseClick(control<QPushButton>("Command4"), Qt::LeftButton); // "نتيجه"
    QVERIFY(!m_window->childLock()->active());
    QVERIFY(!backdrop->isVisible());
    QCOMPARE(m_window->pos(), before);
    QVERIFY(control<QFrame>("Frame2")->isVisible());
    // Starting again locks again.
    QTest::mouseClick(control<QPushButton>("Command7"), Qt::LeftButton);
    QVERIFY(m_window->childLock()->active());
}

void TestChildMode::leavingIgnoredDuringTheTest_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close box") << "close box";
    QTest::newRow("Alt+F4") << "Alt+F4";
    QTest::newRow("Escape") << "Escape";
}

void TestChildMode::leavingIgnoredDuringTheTest()
{
    QFETCH(QString, how);
    open(true);
    m_window->StartTest();
    m_window->activateWindow();
    QWidget *target = spot(1, 1);
    const auto attempt = [&] {
        if (how == QLatin1String("close box"))
            return requestClose();
        if (how == QLatin1String("Alt+F4")) {
            // The key itself, then the close request a window manager makes of it.
            QTest::keyClick(m_window, Qt::Key_F4, Qt::AltModifier);
            QTest::keyClick(target, Qt::Key_F4, Qt::AltModifier);
            return requestClose();
        }
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTest::keyClick(control<QPushButton>("Command1"), Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Escape);
        QCoreApplication::processEvents();
        return !m_window->isVisible();
    };
    QVERIFY(!attempt());
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_main->isVisible());
    QVERIFY(m_window->childLock()->backdrop()->isVisible());
    QCOMPARE(m_window->visibleItem(), 1);
    QCOMPARE(logRows(), 0);

    // After the result the window closes as always (Escape never closed it).
    QTest::mouseClick(control<QPushButton>("Command4"), Qt::LeftButton);
    if (how == QLatin1String("Escape")) {
        QVERIFY(!attempt());
        QVERIFY(requestClose());
    } else {
        QVERIFY(attempt());
    }
    QVERIFY(m_main->isVisible());
}

void TestChildMode::exitButtonStillCloses()
{
    open(true);
    m_window->StartTest();
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, at(1, 4));
    QCOMPARE(storedField("Answer", "07", "1"), QStringLiteral("4"));
    QWidget *backdrop = m_window->childLock()->backdrop();
    QTest::mouseClick(control<QPushButton>("Command6"), Qt::LeftButton); // "خروج"
    QVERIFY(!m_window->isVisible());
    QVERIFY(!backdrop->isVisible());
    QVERIFY(m_main->isVisible());
    QCOMPARE(storedField("Answer", "07", "2"), QStringLiteral("0")); // pending zeros stored at closing
}

void TestChildMode::presses_data()
{
    QTest::addColumn<int>("heldMs");
    // Where the pointer goes while the button is down, from the centre of
    // option 2 in quarters of its size; the release is at the last point.
    QTest::addColumn<QList<QPoint>>("path");
    QTest::addColumn<bool>("records");
    QTest::newRow("quick click") << 120 << QList<QPoint> {} << true;
    QTest::newRow("just under 1.5 s") << 1499 << QList<QPoint> {} << true;
    QTest::newRow("held 1.5 s") << 1500 << QList<QPoint> {} << false;
    QTest::newRow("held 3 s") << 3000 << QList<QPoint> {} << false;
    QTest::newRow("a shaky hand, on the option") << 300 << QList<QPoint> { { 1, 0 }, { -1, 1 } } << true;
    QTest::newRow("dragged sideways off it") << 300 << QList<QPoint> { { 2, 0 }, { 6, 0 } } << false;
    QTest::newRow("dragged off and back") << 300 << QList<QPoint> { { 0, 3 }, { 0, 6 }, { 0, 0 } } << false;
}

void TestChildMode::presses()
{
    QFETCH(int, heldMs);
    QFETCH(QList<QPoint>, path);
    QFETCH(bool, records);
    open(true);
    m_window->StartTest();
    QWindow *w = m_window->windowHandle();
    QPoint last = at(1, 2);
    QTest::mousePress(w, Qt::LeftButton, {}, last);
    const QSize quarter = spot(1, 2)->size() / 4;
    for (const QPoint &p : path) {
        last = at(1, 2, QPoint(p.x() * quarter.width(), p.y() * quarter.height()));
        QTest::mouseMove(w, last, 10);
    }
    QTest::mouseRelease(w, Qt::LeftButton, {}, last, qMax(1, heldMs - 10 * int(path.size())));
    QCOMPARE(storedField("Answer", "07", "1"), records ? QStringLiteral("2") : QString());
    QCOMPARE(logRows(), records ? 1 : 0);
    QCOMPARE(m_window->visibleItem(), records ? 2 : 1);
    QCOMPARE(storedField("Answer", "07", "3"), records ? QStringLiteral("0") : QString());
    // Nothing is left half-pressed: the next plain click answers its item.
    const int item = m_window->visibleItem();
    QTest::mouseClick(w, Qt::LeftButton, {}, at(item, 5));
    QCOMPARE(storedField("Answer", "07", QString::number(item)), QStringLiteral("5"));
}

void TestChildMode::keysToTheOptionsRecordNothing()
{
    open(true);
    m_window->StartTest();
    m_window->activateWindow();
    for (QWidget *target : { static_cast<QWidget *>(spot(1, 3)), static_cast<QWidget *>(control<QLabel>("Pic1_1")) }) {
        target->setFocus();
        for (Qt::Key key : { Qt::Key_3, Qt::Key_Return, Qt::Key_Space, Qt::Key_Enter, Qt::Key_Right })
            QTest::keyClick(target, key);
    }
    // An answer that does not come from a press and release on the option
    // (a key handler would call this) is not taken either.
    m_window->RecordAnswer(1, 3);
    QCOMPARE(storedField("Answer", "07", "1"), QString());
    QCOMPARE(logRows(), 0);
    QCOMPARE(m_window->visibleItem(), 1);
    // The examiner's counter still takes keys.
    control<QLineEdit>("Txt1")->setFocus();
    control<QLineEdit>("Txt1")->selectAll();
    QTest::keyClicks(control<QLineEdit>("Txt1"), QStringLiteral("5"));
    QCOMPARE(m_window->visibleItem(), 5);
    // After the result the window answers as always.
    m_window->ScoreTest();
    control<QLineEdit>("Txt1")->setText(QStringLiteral("6"));
    m_window->RecordAnswer(6, 1);
    QCOMPARE(storedField("Answer", "07", "6"), QStringLiteral("1"));
}

QTEST_MAIN(TestChildMode)
#include "tst_childmode.moc"
