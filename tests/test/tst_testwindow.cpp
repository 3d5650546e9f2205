#include "ExamFolder.h"
#include "calendar/Clock.h"
#include "common/Dialogs.h"
#include "data/AnswerLog.h"
#include "data/DataTexts.h"
#include "report/RecordingPaintDevice.h"
#include "report/ReportPreview.h"
#include "test/content/ContentPack.h"
#include "test/content/ContentTexts.h"
#include "test/content/PackInstall.h"
#include "test/content/TestContent.h"
#include "test/scoring/ClickGuard.h"
#include "test/scoring/ResultTexts.h"
#include "test/window/HotSpot.h"
#include "test/window/ItemPictures.h"
#include "test/window/TestWindow.h"
#include "tests/common/Children.h"
#include "ui/FitLabel.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QFrame>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <algorithm>

namespace {

/// The item pictures Pic1(1) .. Pic1(36).
QList<QLabel *> itemPictures(QWidget *window)
{
    QList<QLabel *> pictures;
    for (int i = 1; i <= 36; ++i)
        pictures << child<QLabel>(window, QStringLiteral("Pic1_%1").arg(i));
    return pictures;
}

const QString kInvalid = ResultTexts::invalid;

QString slotStored(const QString &code, int item)
{
    return storedField(QStringLiteral("Answer"), code, QString::number(item));
}

} // namespace

class TestTestWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void picturesAreReadAfterTheWindowShows();
    void sharpPicturesOnDenseScreens();
    void initTestCase();
    void init();
    void cleanup();
    void layoutAtLoad();
    void counterTyping_data();
    void counterTyping();
    void clickStoresBeforeTheNextItemPaints();
    void lastItemStaysAndPreviousStopsAtOne();
    void changingAnAnswer();
    void doubleClickAnswersOneItem();
    void failedStoreKeepsTheItemAndSaysSo();
    void logFollowsEveryRecordedClick();
    void refusedLogRowKeepsTheAnswer();
    void resultBeforeStart();
    void resultOfAFullTest();
    void answerAfterResultRescoresAtOnce();
    void doubleClickOnAStepButtonMovesOnce_data();
    void doubleClickOnAStepButtonMovesOnce();
    void resultCaptionsStandRightOfTheirValues_data();
    void resultCaptionsStandRightOfTheirValues();
    void invalidResultShowsWhole();
    void notScoredShowsInvalidButWritesNothing();
    void printShowsTheSheetAndTheStartButton();
    void activationReappliesFilters();
    void sourcesHoldTheExamineesRowsAlone();
    void closingShowsTheMainWindow();
    void installedPackScoresAndNamesTheSheet();
    void missingAnswerRowIsCreated();

private:
    QString printedSheetText();
    TestWindow *open(const QString &code);
    void clickOption(int item, int option);

    ExamFolder *m_folder = nullptr;
    QWidget *m_main = nullptr;
    TestWindow *m_window = nullptr;
    ClinicValues m_clinic;
    AnswerKey m_key {};
};

void TestTestWindow::initTestCase()
{
    TestContent content;
    QString error;
    QVERIFY2(content.load(QStringLiteral(PELORIN_CONTENT_DIR), &error), qPrintable(error));
    const QVector<int> key = content.answerKey();
    for (int i = 0; i < 36; ++i)
        m_key[size_t(i)] = key.at(i);
}

void TestTestWindow::init()
{
    Dialogs::setTestMode(true);
    ClickGuard::setInterval(0);
    m_folder = new ExamFolder;
    m_main = new QWidget;
    // Another examinee first in IDE, so a write to the wrong row would show.
    addExaminee(QStringLiteral("1"), QStringLiteral("8"), QStringLiteral("رضا"), QStringLiteral("احمدي"));
    addExaminee(QStringLiteral("07"), QStringLiteral("7"));
}

void TestTestWindow::cleanup()
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

TestWindow *TestTestWindow::open(const QString &code)
{
    m_window = new TestWindow(m_main, &m_clinic);
    QString error;
    if (!m_window->load(code, &error))
        qFatal("load: %s", qPrintable(error));
    child<RecordSource>(m_window, "Adodc2")->setFilter(QStringLiteral("code"), code);
    child<QLabel>(m_window, "Lblkey")->setText(code);
    m_window->show();
    m_window->activate();
    return m_window;
}

// The window shows before its 36 pictures are decoded; the first item's is
// there when it is shown and the rest follow once the window is on screen.
void TestTestWindow::picturesAreReadAfterTheWindowShows()
{
    m_window = new TestWindow(m_main, &m_clinic);
    QString error;
    QVERIFY2(m_window->load(QStringLiteral("1"), &error), qPrintable(error));
    for (int i = 1; i <= 36; ++i)
        QVERIFY(child<QLabel>(m_window, QStringLiteral("Pic1_%1").arg(i))->pixmap().isNull());
    child<QLabel>(m_window, "Lblkey")->setText(QStringLiteral("1"));
    m_window->show();
    m_window->activate();
    m_window->StartTest();
    QCOMPARE(m_window->visibleItem(), 1);
    QVERIFY(!child<QLabel>(m_window, "Pic1_1")->pixmap().isNull());
    const QList<QLabel *> pictures = itemPictures(m_window);
    QTRY_VERIFY(std::all_of(pictures.begin(), pictures.end(), [](QLabel *pic) { return !pic->pixmap().isNull(); }));
}

void TestTestWindow::sharpPicturesOnDenseScreens()
{
    TestContent content;
    QString error;
    QVERIFY2(content.load(AppPaths::contentDir(), &error), qPrintable(error));
    const TestItem &item = content.items().at(4);
    const QPixmap plain = ItemPictures::picture(item, 1);
    const QPixmap sharp = ItemPictures::picture(item, 2);
    QCOMPARE(plain.size(), QSize(633, 421));
    QCOMPARE(sharp.size(), QSize(1266, 842));
    QCOMPARE(sharp.deviceIndependentSize(), QSizeF(633, 421));
    QCOMPARE(ItemPictures::picture(item, 2).cacheKey(), sharp.cacheKey()); // decoded once
}

void TestTestWindow::clickOption(int item, int option)
{
    HotSpot *spot = child<HotSpot>(m_window, QStringLiteral("Lbl%1_%2").arg(option).arg(item));
    QVERIFY(spot->isVisible());
    // Through the window, so the click lands on whatever is at that place.
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, spot->mapTo(m_window, spot->rect().center()));
}

void TestTestWindow::layoutAtLoad()
{
    open(QStringLiteral("07"));
    QCOMPARE(m_window->size(), QSize(857, 545));
    QCOMPARE(child<QFrame>(m_window, "Frame1")->geometry(), QRect(685, 21, 161, 469));
    QCOMPARE(child<QFrame>(m_window, "Frame2")->geometry(), QRect(150, 84, 496, 214));
    QCOMPARE(child<QLabel>(m_window, "Pic1_1")->geometry(), QRect(35, 16, 633, 421));
    QCOMPARE(child<QLineEdit>(m_window, "Txt1")->geometry(), QRect(265, 474, 37, 33));
    QCOMPARE(child<QPushButton>(m_window, "Command7")->geometry(), QRect(234, 510, 85, 33));
    QCOMPARE(child<QPushButton>(m_window, "Command6")->geometry(), QRect(561, 480, 85, 33));
    // Grid: item 1 top left, item 19 top of the second column, item 36 last row.
    QCOMPARE(child<QLabel>(m_window, "Lblscore_1")->geometry(), QRect(32, 20, 45, 21));
    QCOMPARE(child<QLabel>(m_window, "LblNscore_19")->geometry(), QRect(88, 20, 17, 21));
    QCOMPARE(child<QLabel>(m_window, "Lblscore_36")->geometry(), QRect(108, 428, 45, 21));
    QCOMPARE(child<QLabel>(m_window, "LblNscore_36")->text(), QStringLiteral("36"));
    // Hot-spots follow the content's rectangles (item 1, option 2 at 3480, 3720).
    QCOMPARE(child<HotSpot>(m_window, "Lbl2_1")->geometry().topLeft(), QPoint(232, 248));

    QVERIFY(child<QPushButton>(m_window, "Command7")->isVisible());
    QVERIFY(child<QPushButton>(m_window, "Command4")->isVisible());
    QVERIFY(child<QPushButton>(m_window, "Command6")->isVisible());
    QVERIFY(!child<QPushButton>(m_window, "Command1")->isVisible());
    QVERIFY(!child<QPushButton>(m_window, "Command2")->isVisible());
    QVERIFY(!child<QLineEdit>(m_window, "Txt1")->isVisible());
    QVERIFY(!child<QFrame>(m_window, "Frame2")->isVisible());
    QCOMPARE(child<QLineEdit>(m_window, "Txt1")->text(), QStringLiteral("0"));
    QCOMPARE(m_window->visibleItem(), 0);
    for (QLabel *pic : itemPictures(m_window))
        QVERIFY(!pic->isVisible());
    QVERIFY(!child<QLabel>(m_window, "Lblscore_0")->isVisible());
    QCOMPARE(child<QLabel>(m_window, "Lblscore_39")->text(), QStringLiteral("سارا کريمي"));
}

void TestTestWindow::counterTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("counter");
    QTest::addColumn<int>("item");
    QTest::newRow("0") << "0"
                       << "1" << 1;
    QTest::newRow("-4") << "-4"
                        << "1" << 1;
    QTest::newRow("text") << "abc"
                          << "1" << 1;
    QTest::newRow("50") << "50"
                        << "36" << 36;
    QTest::newRow("12abc") << "12abc"
                           << "12abc" << 12;
    QTest::newRow("2.5") << "2.5"
                         << "2.5" << 0;
    QTest::newRow("20") << "20"
                        << "20" << 20;
}

void TestTestWindow::counterTyping()
{
    QFETCH(QString, typed);
    QFETCH(QString, counter);
    QFETCH(int, item);
    open(QStringLiteral("07"));
    m_window->StartTest();
    QCOMPARE(m_window->visibleItem(), 1);
    child<QLineEdit>(m_window, "Txt1")->setText(typed);
    QCOMPARE(child<QLineEdit>(m_window, "Txt1")->text(), counter);
    QCOMPARE(m_window->visibleItem(), item);
    int visible = 0;
    for (QLabel *pic : itemPictures(m_window))
        visible += pic->isVisible() ? 1 : 0;
    QCOMPARE(visible, item ? 1 : 0);
}

void TestTestWindow::clickStoresBeforeTheNextItemPaints()
{
    open(QStringLiteral("07"));
    QTest::mouseClick(child<QPushButton>(m_window, "Command7"), Qt::LeftButton);
    QCOMPARE(m_window->visibleItem(), 1);
    QCOMPARE(child<QLabel>(m_window, "Lblscore_5")->text(), QStringLiteral("0"));
    QCOMPARE(slotStored("07", 5), QString()); // the zeros wait for the first store

    clickOption(1, 4);
    // No event processed since the click: the answer is already in the file.
    QCOMPARE(slotStored("07", 1), QStringLiteral("4"));
    QCOMPARE(slotStored("07", 5), QStringLiteral("0"));
    QCOMPARE(child<QLabel>(m_window, "Lblscore_1")->text(), QStringLiteral("4"));
    QCOMPARE(child<QLineEdit>(m_window, "Txt1")->text(), QStringLiteral("2"));
    QCOMPARE(m_window->visibleItem(), 2);
    QVERIFY(!child<QLabel>(m_window, "Pic1_1")->isVisible());
    QCOMPARE(slotStored("1", 1), QString()); // the other examinee is untouched
}

void TestTestWindow::lastItemStaysAndPreviousStopsAtOne()
{
    open(QStringLiteral("07"));
    m_window->StartTest();
    QTest::mouseClick(child<QPushButton>(m_window, "Command2"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(m_window, "Txt1")->text(), QStringLiteral("1"));
    QCOMPARE(m_window->visibleItem(), 1);
    QCOMPARE(slotStored("07", 36), QStringLiteral("0")); // previous stores too

    child<QLineEdit>(m_window, "Txt1")->setText(QStringLiteral("36"));
    clickOption(36, 2);
    QCOMPARE(slotStored("07", 36), QStringLiteral("2"));
    QCOMPARE(child<QLineEdit>(m_window, "Txt1")->text(), QStringLiteral("36"));
    QCOMPARE(m_window->visibleItem(), 36);
    QTest::mouseClick(child<QPushButton>(m_window, "Command1"), Qt::LeftButton);
    QCOMPARE(m_window->visibleItem(), 36);
}

void TestTestWindow::changingAnAnswer()
{
    open(QStringLiteral("07"));
    m_window->StartTest();
    clickOption(1, 5);
    QTest::mouseClick(child<QPushButton>(m_window, "Command2"), Qt::LeftButton);
    QCOMPARE(m_window->visibleItem(), 1);
    clickOption(1, 3);
    QCOMPARE(slotStored("07", 1), QStringLiteral("3"));
    QCOMPARE(child<QLabel>(m_window, "Lblscore_1")->text(), QStringLiteral("3"));
}

void TestTestWindow::doubleClickAnswersOneItem()
{
    ClickGuard::setInterval(ClickGuard::kDefaultMs);
    open(QStringLiteral("07"));
    m_window->StartTest();
    QTest::qWait(ClickGuard::kDefaultMs + 20); // item 1 has been seen
    // Both clicks land on the same spot: the second meets item 2's option.
    HotSpot *spot = child<HotSpot>(m_window, "Lbl1_1");
    const QPoint at = spot->mapTo(m_window, spot->rect().center());
    QVERIFY(child<HotSpot>(m_window, "Lbl1_2")
                ->geometry()
                .contains(child<HotSpot>(m_window, "Lbl1_2")->parentWidget()->mapFrom(m_window, at)));
    QTest::mouseDClick(m_window->windowHandle(), Qt::LeftButton, {}, at);
    QCOMPARE(slotStored("07", 1), QStringLiteral("1"));
    QCOMPARE(slotStored("07", 2), QStringLiteral("0"));
    QCOMPARE(m_window->visibleItem(), 2);

    // Once item 2 has been on screen long enough, a click counts again.
    QTest::qWait(ClickGuard::kDefaultMs + 20);
    clickOption(2, 1);
    QCOMPARE(slotStored("07", 2), QStringLiteral("1"));
    QCOMPARE(m_window->visibleItem(), 3);
}

void TestTestWindow::failedStoreKeepsTheItemAndSaysSo()
{
    open(QStringLiteral("07"));
    m_window->StartTest();
    clickOption(1, 2);
    Dialogs::takeLog();
    // The row disappears behind the window's back: the next store fails.
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("DELETE FROM Answer WHERE Code = '07'")));
    clickOption(2, 6);
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.first().title, QStringLiteral("خطا"));
    QCOMPARE(m_window->visibleItem(), 2);
    QCOMPARE(child<QLabel>(m_window, "Lblscore_2")->text(), QStringLiteral("0")); // the grid shows what is stored
    // The log row written before the refused update went back with it.
    QCOMPARE(AnswerLog::read(Database::connection(Database::File::Examinee), "07").size(), 1);
}

// Answers, a change after "قبلي", a double click whose second click the
// guard drops: one row per recorded click, numbered in order, and the last
// logged choice of each item is what Answer holds.
void TestTestWindow::logFollowsEveryRecordedClick()
{
    const QDateTime at(QDate(2026, 12, 11), QTime(10, 20, 30, 450));
    Clock::setFixed(at);
    ClickGuard::setInterval(ClickGuard::kDefaultMs);
    open(QStringLiteral("07"));
    m_window->StartTest();
    QTest::qWait(ClickGuard::kDefaultMs + 20);
    clickOption(1, 5);
    QTest::qWait(ClickGuard::kDefaultMs + 20);
    clickOption(2, 2);
    QTest::qWait(ClickGuard::kDefaultMs + 20); // item 3 seen: the step button counts
    QTest::mouseClick(child<QPushButton>(m_window, "Command2"), Qt::LeftButton); // back to item 2
    QTest::qWait(ClickGuard::kDefaultMs + 20);
    clickOption(2, 6);
    QTest::qWait(ClickGuard::kDefaultMs + 20);
    HotSpot *spot = child<HotSpot>(m_window, "Lbl4_3");
    QTest::mouseDClick(m_window->windowHandle(), Qt::LeftButton, {}, spot->mapTo(m_window, spot->rect().center()));
    QCOMPARE(m_window->visibleItem(), 4);
    Clock::setFixed(QDateTime());

    QString error;
    const QVector<AnswerLog::Row> rows = AnswerLog::read(Database::connection(Database::File::Examinee), "07", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QVector<QPair<int, int>> expected = { { 1, 5 }, { 2, 2 }, { 2, 6 }, { 3, 4 } };
    QCOMPARE(rows.size(), expected.size());
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].seq, i + 1);
        QCOMPARE(rows[i].click.item, expected[i].first);
        QCOMPARE(rows[i].click.choice, expected[i].second);
        QVERIFY2(rows[i].click.latencyMs >= ClickGuard::kDefaultMs && rows[i].click.latencyMs < 5000,
            qPrintable(QString::number(rows[i].click.latencyMs)));
        QCOMPARE(rows[i].click.at, at);
    }
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("SELECT At FROM AnswerLog LIMIT 1")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("2026-12-11T10:20:30.450"));
    const QVector<int> last = AnswerLog::lastChoices(rows);
    for (int item = 1; item <= 36; ++item) {
        if (last[item])
            QCOMPARE(slotStored("07", item), QString::number(last[item]));
        else
            QCOMPARE(slotStored("07", item), QStringLiteral("0"));
    }
    QVERIFY(AnswerLog::read(Database::connection(Database::File::Examinee), "1").isEmpty());
}

// A log row the file refuses takes the answer with it: neither is kept.
void TestTestWindow::refusedLogRowKeepsTheAnswer()
{
    open(QStringLiteral("07"));
    m_window->StartTest();
    clickOption(1, 2);
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON AnswerLog BEGIN SELECT RAISE(ABORT, 'log is full'); END")));
    Dialogs::takeLog();
    clickOption(2, 6);
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    // Said in the user's words, not in the database's English.
    QCOMPARE(log.first().text, DataTexts::storeFailed);
    QCOMPARE(slotStored("07", 2), QStringLiteral("0"));
    QCOMPARE(child<QLabel>(m_window, "Lblscore_2")->text(), QStringLiteral("0"));
    QCOMPARE(m_window->visibleItem(), 2);
    QCOMPARE(AnswerLog::read(Database::connection(Database::File::Examinee), "07").size(), 1);
}

void TestTestWindow::resultBeforeStart()
{
    open(QStringLiteral("07"));
    QTest::mouseClick(child<QPushButton>(m_window, "Command4"), Qt::LeftButton);
    QVERIFY(child<QFrame>(m_window, "Frame2")->isVisible());
    QCOMPARE(child<QLabel>(m_window, "Lblscore_17")->text(), QStringLiteral("0"));
    QCOMPARE(child<QLabel>(m_window, "Lblkham")->text(), QStringLiteral("0"));
    QCOMPARE(child<QLabel>(m_window, "Lblhoosh")->text(), kInvalid);
    QCOMPARE(child<QLabel>(m_window, "lbldarsad")->text(), QStringLiteral("0"));
    QCOMPARE(child<QLabel>(m_window, "LblN2")->text(), QStringLiteral(" "));
    QCOMPARE(storedField("IDE", "07", "NKham"), QStringLiteral("0"));
    QCOMPARE(storedField("IDE", "07", "Hooshbahr"), kInvalid);
    QCOMPARE(storedField("IDE", "07", "RDarsadi"), QStringLiteral("0"));
    QCOMPARE(storedField("IDE", "1", "Hooshbahr"), QString());
    QVERIFY(!child<QLineEdit>(m_window, "Txt1")->isVisible());
}

void TestTestWindow::resultOfAFullTest()
{
    open(QStringLiteral("07"));
    m_window->StartTest();
    // Items 1 to 20 right, the rest wrong: raw score 20 at age 7.
    for (int i = 1; i <= 36; ++i) {
        const int key = m_key[size_t(i - 1)];
        clickOption(i, i <= 20 ? key : key % 6 + 1);
    }
    QCOMPARE(m_window->visibleItem(), 36);
    QTest::mouseClick(child<QPushButton>(m_window, "Command4"), Qt::LeftButton);
    QVERIFY(!child<QPushButton>(m_window, "Command1")->isVisible());
    QVERIFY(!child<QPushButton>(m_window, "Command2")->isVisible());
    QVERIFY(child<QLineEdit>(m_window, "Txt1")->isVisible());
    QVERIFY(child<QLabel>(m_window, "Pic1_36")->isVisible());
    QCOMPARE(child<QLabel>(m_window, "Lblkham")->text(), QStringLiteral("20"));
    QCOMPARE(child<QLabel>(m_window, "Lblhoosh")->text(), fixtureIq(20, 7));
    QCOMPARE(child<QLabel>(m_window, "lbldarsad")->text(), fixturePercentile(20, 7));
    QCOMPARE(child<QLabel>(m_window, "LblN2")->text(), QStringLiteral("بهنجار يا متوسط Normal"));
    QCOMPARE(storedField("IDE", "07", "NKham"), QStringLiteral("20"));
    QCOMPARE(storedField("IDE", "07", "Hooshbahr"), fixtureIq(20, 7));
    QCOMPARE(storedField("IDE", "07", "RDarsadi"), fixturePercentile(20, 7));
    QCOMPARE(storedField("IDE", "1", "NKham"), QString());

    // The same again gives the same.
    QTest::mouseClick(child<QPushButton>(m_window, "Command5"), Qt::LeftButton);
    QVERIFY(!child<QFrame>(m_window, "Frame2")->isVisible());
    QTest::mouseClick(child<QPushButton>(m_window, "Command4"), Qt::LeftButton);
    QCOMPARE(storedField("IDE", "07", "NKham"), QStringLiteral("20"));
    QCOMPARE(child<QLabel>(m_window, "Lblhoosh")->text(), fixtureIq(20, 7));
}

// The options beneath the panel still record; the result, its store and
// the printed sheet follow each such answer at once.
void TestTestWindow::answerAfterResultRescoresAtOnce()
{
    open(QStringLiteral("07"));
    m_window->StartTest();
    for (int i = 1; i <= 5; ++i)
        clickOption(i, m_key[size_t(i - 1)]);
    m_window->ScoreTest();
    QCOMPARE(child<QLabel>(m_window, "Lblkham")->text(), QStringLiteral("5"));
    QCOMPARE(child<QLabel>(m_window, "Lblhoosh")->text(), fixtureIq(5, 7));
    // Item 6 is under the panel; one of its lower options is still clickable.
    const int key6 = m_key[5];
    QVERIFY(child<QFrame>(m_window, "Frame2")->isVisible());
    m_window->RecordAnswer(6, key6);
    QCOMPARE(slotStored("07", 6), QString::number(key6));
    QCOMPARE(child<QLabel>(m_window, "Lblkham")->text(), QStringLiteral("6"));
    QCOMPARE(child<QLabel>(m_window, "Lblhoosh")->text(), fixtureIq(6, 7));
    QCOMPARE(child<QLabel>(m_window, "lbldarsad")->text(), fixturePercentile(6, 7));
    QCOMPARE(storedField("IDE", "07", "NKham"), QStringLiteral("6"));
    QCOMPARE(storedField("IDE", "07", "Hooshbahr"), fixtureIq(6, 7));
    QCOMPARE(storedField("IDE", "07", "RDarsadi"), fixturePercentile(6, 7));

    // A right answer made wrong after going back lowers it again.
    child<QLineEdit>(m_window, "Txt1")->setText(QStringLiteral("2"));
    m_window->RecordAnswer(2, m_key[1] % 6 + 1);
    QCOMPARE(child<QLabel>(m_window, "Lblkham")->text(), QStringLiteral("5"));
    QCOMPARE(storedField("IDE", "07", "NKham"), QStringLiteral("5"));
    QCOMPARE(storedField("IDE", "07", "Hooshbahr"), fixtureIq(5, 7));

    // The sheet prints what the boxes hold.
    m_window->PrintScoringSheet();
    ReportPreview *preview = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<ReportPreview *>(w); p && p->isVisible())
            preview = p;
    QVERIFY(preview);
    QCOMPARE(preview->report().element(QStringLiteral("Section1"), QStringLiteral("Lbliq"))->text, fixtureIq(5, 7));
    QCOMPARE(storedField("IDE", "1", "NKham"), QString()); // the other examinee is untouched
}

// Both clicks of a double click on next or previous meet the button: the
// second comes before the new item has been seen and moves nothing.
void TestTestWindow::doubleClickOnAStepButtonMovesOnce_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("next") << "Command1" << 5 << 6;
    QTest::newRow("previous") << "Command2" << 5 << 4;
}

void TestTestWindow::doubleClickOnAStepButtonMovesOnce()
{
    QFETCH(QString, button);
    QFETCH(int, from);
    QFETCH(int, to);
    ClickGuard::setInterval(ClickGuard::kDefaultMs);
    open(QStringLiteral("07"));
    m_window->StartTest();
    child<QLineEdit>(m_window, "Txt1")->setText(QString::number(from));
    QTest::qWait(ClickGuard::kDefaultMs + 20);
    auto *step = m_window->findChild<QPushButton *>(button);
    QVERIFY(step && step->isVisible());
    QTest::mouseDClick(m_window->windowHandle(), Qt::LeftButton, {}, step->mapTo(m_window, step->rect().center()));
    QCOMPARE(m_window->visibleItem(), to);
    QCOMPARE(child<QLineEdit>(m_window, "Txt1")->text(), QString::number(to));
    // A later click, once the item has been seen, moves again.
    QTest::qWait(ClickGuard::kDefaultMs + 20);
    QTest::mouseClick(step, Qt::LeftButton);
    QCOMPARE(m_window->visibleItem(), to + (to - from));
}

// Read right to left, each caption comes before its value: it stands to
// the value's right, and each pair fills the place it always had.
void TestTestWindow::resultCaptionsStandRightOfTheirValues_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QRect>("pairTwips");
    QTest::newRow("raw score") << "Label2_0"
                               << "Lblkham" << QRect(510, 1305, 1785, 405);
    QTest::newRow("percentile") << "Label2_1"
                                << "lbldarsad" << QRect(2400, 1305, 2055, 405);
    QTest::newRow("iq") << "Label2_2"
                        << "Lblhoosh" << QRect(4665, 1305, 1770, 405);
}

void TestTestWindow::resultCaptionsStandRightOfTheirValues()
{
    QFETCH(QString, caption);
    QFETCH(QString, value);
    QFETCH(QRect, pairTwips);
    open(QStringLiteral("07"));
    m_window->ScoreTest();
    auto *c = child<QFrame>(m_window, "Frame2")->findChild<QLabel *>(caption);
    auto *v = child<QFrame>(m_window, "Frame2")->findChild<QLabel *>(value);
    QVERIFY(c && v && c->isVisible() && v->isVisible());
    QVERIFY2(c->geometry().left() > v->geometry().right(), qPrintable(caption));
    QCOMPARE(c->geometry().united(v->geometry()), Twips::rect(pairTwips));
    // The value sits at the pair's left edge, the caption ends at its right.
    QCOMPARE(v->x(), Twips::px(pairTwips.left()));
    QCOMPARE(c->geometry().right(), Twips::rect(pairTwips).right());
    // The IQ pair stays the rightmost, read first.
    auto *iq = child<QFrame>(m_window, "Frame2")->findChild<QLabel *>(QStringLiteral("Label2_2"));
    QVERIFY(iq->x() >= c->x());
}

// "نتيجه نامعتبر مي باشد" is several times wider than the IQ box: it is shown
// whole, wrapped and smaller, within the box.
void TestTestWindow::invalidResultShowsWhole()
{
    open(QStringLiteral("07"));
    m_window->ScoreTest();
    QCOMPARE(child<QLabel>(m_window, "Lblhoosh")->text(), kInvalid);
    auto *iq = qobject_cast<FitLabel *>(child<QLabel>(m_window, "Lblhoosh"));
    QVERIFY(iq);
    QCOMPARE(iq->geometry(), Twips::rect(4665, 1305, 945, 405));
    const QRect box = iq->contentsRect();
    const QRect plain = QFontMetrics(iq->font()).boundingRect(box, iq->textFlags(), kInvalid);
    QVERIFY2(plain.width() > box.width() || plain.height() > box.height(), "the plain size already fits");
    const QFont shown = iq->fittedFont();
    const QRect needed = QFontMetrics(shown).boundingRect(box, iq->textFlags(), kInvalid);
    QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(),
        qPrintable(QStringLiteral("%1x%2 in %3x%4")
                       .arg(needed.width())
                       .arg(needed.height())
                       .arg(box.width())
                       .arg(box.height())));
    QVERIFY(shown.pointSizeF() >= 6);
    // An IQ number keeps the panel's size.
    iq->setText(QStringLiteral("104"));
    QCOMPARE(iq->fittedFont().pointSizeF(), iq->font().pointSizeF());
    iq->setText(kInvalid);
    const QString out = qEnvironmentVariable("PELORIN_SCREENSHOT_DIR");
    if (!out.isEmpty())
        QVERIFY(m_window->grab().save(out + QStringLiteral("/result_panel_invalid.png")));
}

void TestTestWindow::notScoredShowsInvalidButWritesNothing()
{
    open(QStringLiteral("07"));
    QCOMPARE(child<QLabel>(m_window, "Lblhoosh")->text(), kInvalid);
    QCOMPARE(child<QLabel>(m_window, "LblN2")->text(), QStringLiteral(" "));
    m_window->StartTest();
    clickOption(1, 1);
    m_window->close();
    QCOMPARE(storedField("IDE", "07", "Hooshbahr"), QString());
    QCOMPARE(storedField("IDE", "1", "Hooshbahr"), QString());
}

void TestTestWindow::printShowsTheSheetAndTheStartButton()
{
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("UPDATE IDE SET DateTavalod = '1394/02/11', Azmayande = 'دکتر رضايي',"
                                  " DateEjra = '1401/07/28', Tahsil = 'اول' WHERE Code = '07'")));
    QSqlQuery t(Database::connection(Database::File::Theme));
    QVERIFY(t.exec(QStringLiteral("UPDATE Theme SET Name = 'كلينيك نمونه', Adress = 'تهران'")));
    open(QStringLiteral("07"));
    m_window->StartTest();
    clickOption(1, 3);
    m_window->ScoreTest();
    const QWidgetList tops = QApplication::topLevelWidgets();
    const QSet<QWidget *> before(tops.cbegin(), tops.cend());
    QSignalSpy reads(child<RecordSource>(m_window, "Adodc5"), &RecordSource::rowsChanged);
    QTest::mouseClick(child<QPushButton>(m_window, "Command8"), Qt::LeftButton);
    QCOMPARE(reads.count(), 1); // the answers are read once, keyed on the code
    QVERIFY(!child<QFrame>(m_window, "Frame2")->isVisible());
    QVERIFY(child<QPushButton>(m_window, "Command7")->isVisible());
    QCOMPARE(child<QLabel>(m_window, "Label7")->text(), QStringLiteral("سارا کريمي"));
    ReportPreview *preview = nullptr;
    int previews = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!before.contains(w) && w->isVisible()) {
            ++previews;
            preview = qobject_cast<ReportPreview *>(w);
        }
    }
    QCOMPARE(previews, 1);
    QVERIFY(preview);
    // The sheet's texts come from the window's hidden fields of the row.
    const struct
    {
        const char *section, *element, *hidden, *text;
    } texts[] = {
        { "Section1", "LblT", "Label5", "1394/02/11" },
        { "Section1", "LblS", "Label6", "7" },
        { "Section1", "LblT2", "Label1", "اول" },
        { "Section1", "LblA", "Label4", "دکتر رضايي" },
        { "Section1", "LblT3", "Label3", "1401/07/28" },
        { "Section4", "Label2", "Text4", "كلينيك نمونه" },
        { "Section3", "Label11", "Text6", "تهران" },
    };
    for (const auto &e : texts) {
        const ReportElement *element = preview->report().element(QLatin1String(e.section), QLatin1String(e.element));
        QVERIFY2(element, e.element);
        QCOMPARE(element->text, QString::fromUtf8(e.text));
        const auto *hidden = m_window->findChild<QLabel *>(QLatin1String(e.hidden));
        QVERIFY2(hidden && !hidden->isVisible(), e.hidden);
        QCOMPARE(hidden->text(), QString::fromUtf8(e.text));
    }
    QCOMPARE(child<RecordSource>(m_window, "Adodc5")->field(QStringLiteral("1")), QStringLiteral("3"));
    // The second page reads the click log: item 1 timed, item 2 never clicked.
    const auto cell = [&](int item, int column) {
        const ReportElement *e
            = preview->report().element(QStringLiteral("Section5"), QStringLiteral("IA%1_%2").arg(item).arg(column));
        return e ? e->text : QStringLiteral("missing");
    };
    QCOMPARE(cell(1, 1), QStringLiteral("3"));
    QVERIFY2(cell(1, 3).contains(QLatin1Char('.')), qPrintable(cell(1, 3)));
    QCOMPARE(cell(2, 3), QStringLiteral("-"));
    QTRY_COMPARE(preview->pageCount(), 2);
    // Starting again keeps the answers and shows item 1.
    child<QLineEdit>(m_window, "Txt1")->setText(QStringLiteral("9"));
    QTest::mouseClick(child<QPushButton>(m_window, "Command7"), Qt::LeftButton);
    QCOMPARE(m_window->visibleItem(), 1);
    QCOMPARE(child<QLabel>(m_window, "Lblscore_1")->text(), QStringLiteral("3"));
}

void TestTestWindow::activationReappliesFilters()
{
    open(QStringLiteral("07"));
    m_window->StartTest();
    child<RecordSource>(m_window, "Adodc1")->clearFilter();
    child<RecordSource>(m_window, "Adodc2")->clearFilter();
    child<QPushButton>(m_window, "Command4")->hide();
    m_window->activate();
    QVERIFY(child<QPushButton>(m_window, "Command7")->isVisible());
    QVERIFY(child<QPushButton>(m_window, "Command4")->isVisible());
    QCOMPARE(child<RecordSource>(m_window, "Adodc1")->field(QStringLiteral("Code")), QStringLiteral("07"));
    QCOMPARE(child<RecordSource>(m_window, "Adodc2")->field(QStringLiteral("Code")), QStringLiteral("07"));
    QCOMPARE(child<RecordSource>(m_window, "Adodc5")->field(QStringLiteral("Code")), QStringLiteral("07"));
    QCOMPARE(child<QLabel>(m_window, "Lblscore_3")->text(), QStringLiteral("0")); // the pending zeros survive
}

void TestTestWindow::sourcesHoldTheExamineesRowsAlone()
{
    open(QStringLiteral("07"));
    for (RecordSource *s : { child<RecordSource>(m_window, "Adodc1"), child<RecordSource>(m_window, "Adodc2"),
             child<RecordSource>(m_window, "Adodc5") }) {
        QVERIFY(s->isKeyed());
        QCOMPARE(s->rowCount(), 1);
        QCOMPARE(s->field(QStringLiteral("Code")), QStringLiteral("07"));
    }
    QVERIFY(!child<RecordSource>(m_window, "Adodc3")->isKeyed()); // the norms are looked up by raw score
    QVERIFY(child<RecordSource>(m_window, "Adodc3")->rowCount() > 1);
}

void TestTestWindow::closingShowsTheMainWindow()
{
    m_main->show();
    open(QStringLiteral("07"));
    m_main->hide();
    m_window->StartTest();
    QTest::mouseClick(child<QPushButton>(m_window, "Command6"), Qt::LeftButton);
    QVERIFY(m_main->isVisible());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(slotStored("07", 10), QStringLiteral("0")); // pending zeros stored at closing
}

// Prints the sheet of the open window and returns every text drawn in its
// footer, runs joined as drawn (a fingerprint may be drawn in two runs).
QString TestTestWindow::printedSheetText()
{
    const QWidgetList tops = QApplication::topLevelWidgets();
    const QSet<QWidget *> before(tops.cbegin(), tops.cend());
    QTest::mouseClick(child<QPushButton>(m_window, "Command8"), Qt::LeftButton);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *preview = qobject_cast<ReportPreview *>(w);
        if (preview && !before.contains(w)) {
            const auto device = RecordingPaintDevice::record(preview->report());
            const int height = preview->report().printableHeight();
            return device->textsIn(QRectF(0, height - 2000, 1e6, 2000)).join(QString());
        }
    }
    return QString();
}

void TestTestWindow::installedPackScoresAndNamesTheSheet()
{
    // A pack of the shipped content whose item 1 has another key.
    ContentPack pack;
    QString error;
    QVERIFY2(pack.loadFolder(QStringLiteral(PELORIN_CONTENT_DIR), &error), qPrintable(error));
    QJsonObject m = pack.manifest();
    QJsonArray items = m.value("items").toArray();
    QJsonObject first = items.at(0).toObject();
    const int packKey = first.value("key").toInt() % 6 + 1;
    first.insert("key", packKey);
    items.replace(0, first);
    m.insert("items", items);
    m.insert("name", "Clinic set");
    m.insert("contentVersion", "3.1");
    m.insert("created", "2026-12-11T10:00:00Z");
    pack.setManifest(m);
    QVERIFY2(PackInstall::install(pack, AppPaths::dataDir(), nullptr, &error), qPrintable(error));

    open(QStringLiteral("07"));
    m_window->StartTest();
    clickOption(1, packKey);
    m_window->ScoreTest();
    QCOMPARE(child<QLabel>(m_window, "Lblkham")->text(), QStringLiteral("1"));
    const QString withPack = printedSheetText();
    QVERIFY2(withPack.contains(pack.shortFingerprint()), qPrintable(withPack));
    QVERIFY(withPack.contains(QStringLiteral("Clinic set")));
    QVERIFY(!withPack.contains(ContentTexts::demonstrationLine));
    delete m_window;
    m_window = nullptr;

    // Back to the bundled set: its key scores, the sheet says so.
    QVERIFY2(PackInstall::useBundled(AppPaths::contentDir(), AppPaths::dataDir(), nullptr, &error), qPrintable(error));
    open(QStringLiteral("07"));
    m_window->StartTest();
    m_window->ScoreTest();
    QCOMPARE(child<QLabel>(m_window, "Lblkham")->text(), QStringLiteral("0"));
    const QString bundled = printedSheetText();
    QVERIFY2(bundled.contains(ContentTexts::demonstrationLine), qPrintable(bundled));
    QVERIFY(!bundled.contains(pack.shortFingerprint()));
}

// An examinee whose Answer row is gone (a file edited by hand) gets one when
// the window opens, so the clicks are stored, not only shown.
void TestTestWindow::missingAnswerRowIsCreated()
{
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("DELETE FROM Answer WHERE Code = '07'")));
    const int before = storedRows(QStringLiteral("Answer"));
    open(QStringLiteral("07"));
    QCOMPARE(storedRows(QStringLiteral("Answer")), before + 1);
    QCOMPARE(storedField(QStringLiteral("Answer"), QStringLiteral("07"), QStringLiteral("Code")), QStringLiteral("07"));
    QCOMPARE(child<RecordSource>(m_window, "Adodc2")->rowCount(), 1);
    QCOMPARE(child<RecordSource>(m_window, "Adodc5")->rowCount(), 1);
    m_window->StartTest();
    clickOption(1, 4);
    QCOMPARE(slotStored("07", 1), QStringLiteral("4"));
    QVERIFY(Dialogs::takeLog().isEmpty());
    delete m_window;
    m_window = nullptr;

    // The examinee who has a row keeps just that one.
    open(QStringLiteral("07"));
    QCOMPARE(storedRows(QStringLiteral("Answer")), before + 1);
    QCOMPARE(slotStored("07", 1), QStringLiteral("4"));
}

QTEST_MAIN(TestTestWindow)
#include "tst_testwindow.moc"
