#include "ExamFolder.h"
#include "Handovers.h"
#include "calendar/Clock.h"
#include "calendar/ShamsiCalendar.h"
#include "common/Dialogs.h"
#include "data/DataTexts.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/registration/RegistrationPanel.h"
#include "mainwindow/registration/RegistrationTexts.h"
#include "report/ReportPreview.h"
#include "test/content/TestContent.h"
#include "test/scoring/ClickGuard.h"
#include "test/scoring/ResultTexts.h"
#include "test/window/HotSpot.h"
#include "test/window/TestWindow.h"
#include "tests/common/Children.h"
#include "ui/DateTexts.h"
#include "ui/WrapButton.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>

class TestRegistrationPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void layout_data();
    void layout();
    void tabOrderAndLists();
    void openingSetsDatesCodeAndFocus();
    void emptyTableProposesNothing();
    void failedCheckNotifiesAndFocuses_data();
    void failedCheckNotifiesAndFocuses();
    void duplicateKeepsThePanelOpen();
    void saveClosesAndKeepsTheFields();
    void databaseErrorIsShown();
    void cancelStoresNothing();
    void dates_data();
    void dates();
    void startByCode_data();
    void startByCode();
    void retestAsksFirst_data();
    void retestAsksFirst();
    void startTwiceGivesAFreshWindow();
    void registerTestAndScore();
    void screenshots();

private:
    void openMain();
    void fill(const QString &code);
    RegistrationPanel *panel() const { return m_main->registrationPanel(); }

    ExamFolder *m_folder = nullptr;
    MainWindow *m_main = nullptr;
};

void TestRegistrationPanel::init()
{
    Dialogs::setTestMode(true);
    Clock::setFixed(QDateTime(QDate(2022, 10, 20), QTime(10, 0)));
    m_folder = new ExamFolder;
}

void TestRegistrationPanel::openMain()
{
    m_main = new MainWindow;
    QString error;
    QVERIFY2(m_main->load(&error), qPrintable(error));
    connect(m_main, &MainWindow::startTestRequested, m_main,
        [w = m_main] { StartTestByCode(w, child<RecordSource>(w, "Adodc1"), &w->clinicValues()); });
    m_main->show();
    QApplication::setActiveWindow(m_main);
}

void TestRegistrationPanel::cleanup()
{
    if (TestWindow *w = OpenTestWindow())
        delete w;
    delete m_main;
    m_main = nullptr;
    delete m_folder;
    m_folder = nullptr;
    Clock::setFixed(QDateTime());
    ClickGuard::setInterval(ClickGuard::kDefaultMs);
}

void TestRegistrationPanel::fill(const QString &code)
{
    RegistrationPanel *p = panel();
    child<QLineEdit>(p, "Text2_2")->setText(code);
    child<QLineEdit>(p, "Text2_0")->setText(QStringLiteral("سارا"));
    child<QLineEdit>(p, "Text2_1")->setText(QStringLiteral("کريمي"));
    child<QComboBox>(p, "Combo1")->setCurrentIndex(1);
    child<QComboBox>(p, "Combo2")->setCurrentText(QStringLiteral("7"));
    child<QLineEdit>(p, "Text2_3")->setText(QStringLiteral("اول دبستان"));
    child<QComboBox>(p, "Combo3")->setCurrentText(QStringLiteral("C"));
    child<QLineEdit>(p, "Text2_6")->setText(QStringLiteral("دکتر احمدي"));
}

void TestRegistrationPanel::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("code") << "Text2_2" << QRect(4680, 585, 825, 390);
    QTest::newRow("first name") << "Text2_0" << QRect(2835, 540, 1500, 390);
    QTest::newRow("family name") << "Text2_1" << QRect(90, 495, 1545, 390);
    QTest::newRow("sex") << "Combo1" << QRect(5130, 990, 915, 510);
    QTest::newRow("age") << "Combo2" << QRect(3825, 990, 915, 510);
    QTest::newRow("education") << "Text2_3" << QRect(1530, 1035, 1455, 390);
    QTest::newRow("group") << "Combo3" << QRect(135, 990, 915, 510);
    QTest::newRow("birth date") << "Text2_5" << QRect(4230, 1620, 1365, 390);
    QTest::newRow("examiner") << "Text2_6" << QRect(2070, 1620, 1365, 390);
    QTest::newRow("test date") << "Text2_4" << QRect(90, 1620, 1140, 390);
    QTest::newRow("save") << "Command4" << QRect(900, 2520, 1185, 465);
    QTest::newRow("cancel") << "Command5" << QRect(2790, 2520, 1185, 465);
}

void TestRegistrationPanel::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    openMain();
    auto *w = panel()->findChild<QWidget *>(name);
    QVERIFY(w);
    const QRect px(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
        qRound(twips.height() / 15.0));
    QCOMPARE(w->geometry(), px);
    if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w)) {
        QVERIFY(w->styleSheet().isEmpty());
        QVERIFY(panel()->styleSheet().contains(QStringLiteral("#c0ffc0")));
        // The caption stands right of its field and fits its text.
        auto *caption = panel()->findChild<QLabel *>(QStringLiteral("Caption_") + name);
        QVERIFY(caption);
        QVERIFY(caption->x() > w->geometry().right());
        QVERIFY2(
            caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->width(), qPrintable(caption->text()));
    }
}

void TestRegistrationPanel::tabOrderAndLists()
{
    openMain();
    RegistrationPanel *p = panel();
    QList<QWidget *> expected { child<QLineEdit>(p, "Text2_2"), child<QLineEdit>(p, "Text2_0"),
        child<QLineEdit>(p, "Text2_1"), child<QComboBox>(p, "Combo1"), child<QComboBox>(p, "Combo2"),
        child<QLineEdit>(p, "Text2_3"), child<QComboBox>(p, "Combo3"), child<QLineEdit>(p, "Text2_5"),
        child<QLineEdit>(p, "Text2_6"), child<QLineEdit>(p, "Text2_4"), child<QPushButton>(p, "Command4"),
        child<QPushButton>(p, "Command5") };
    for (int i = 0; i + 1 < expected.size(); ++i)
        QCOMPARE(
            expected[i]->nextInFocusChain() == expected[i + 1] ||
                [&] {
                    QWidget *w = expected[i]->nextInFocusChain();
                    while (w && w->focusPolicy() == Qt::NoFocus)
                        w = w->nextInFocusChain();
                    return w == expected[i + 1];
                }(),
            true);
    QCOMPARE(child<QComboBox>(p, "Combo1")->count(), 2);
    QCOMPARE(child<QComboBox>(p, "Combo1")->itemText(0), QStringLiteral("پسر"));
    QCOMPARE(child<QComboBox>(p, "Combo1")->itemText(1), QStringLiteral("دختر"));
    QCOMPARE(child<QComboBox>(p, "Combo2")->count(), 6);
    QCOMPARE(child<QComboBox>(p, "Combo2")->itemText(5), QStringLiteral("10"));
    QCOMPARE(child<QComboBox>(p, "Combo3")->itemText(4), QStringLiteral("E"));
    for (QComboBox *c :
        { child<QComboBox>(p, "Combo1"), child<QComboBox>(p, "Combo2"), child<QComboBox>(p, "Combo3") }) {
        QVERIFY(!c->isEditable());
        QCOMPARE(c->currentText(), QString());
    }
}

void TestRegistrationPanel::openingSetsDatesCodeAndFocus()
{
    addExaminee(QStringLiteral("41"));
    openMain();
    child<QLineEdit>(panel(), "Text2_4")->setText(QStringLiteral("old"));
    QTest::mouseClick(child<WrapButton>(m_main, "Command2"), Qt::LeftButton);
    QCOMPARE(m_main->area(), MainWindow::Area::Registration);
    QVERIFY(panel()->isVisible());
    QCOMPARE(child<QLineEdit>(panel(), "Text2_4")->text(), QStringLiteral("1401/07/28"));
    QCOMPARE(child<QLineEdit>(panel(), "Text2_5")->text(), QStringLiteral("1401/07/28"));
    QCOMPARE(child<QLineEdit>(panel(), "Text2_2")->text(), QStringLiteral("42"));
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(panel(), "Text2_0"));
}

void TestRegistrationPanel::emptyTableProposesNothing()
{
    openMain();
    child<QLineEdit>(panel(), "Text2_2")->setText(QStringLiteral("typed"));
    m_main->showArea(MainWindow::Area::Registration);
    QCOMPARE(child<QLineEdit>(panel(), "Text2_2")->text(), QStringLiteral("typed"));
}

void TestRegistrationPanel::failedCheckNotifiesAndFocuses_data()
{
    QTest::addColumn<QString>("cleared"); // objectName of the field left empty
    QTest::addColumn<QString>("message");
    QTest::newRow("code") << "Text2_2" << RegistrationTexts::missingCode;
    QTest::newRow("first name") << "Text2_0" << RegistrationTexts::missingFirstName;
    QTest::newRow("sex") << "Combo1" << RegistrationTexts::missingSex;
    QTest::newRow("group") << "Combo3" << RegistrationTexts::missingGroup;
    QTest::newRow("education") << "Text2_3" << RegistrationTexts::missingEducation;
}

void TestRegistrationPanel::failedCheckNotifiesAndFocuses()
{
    QFETCH(QString, cleared);
    QFETCH(QString, message);
    openMain();
    m_main->showArea(MainWindow::Area::Registration);
    fill(QStringLiteral("3"));
    QWidget *field = panel()->findChild<QWidget *>(cleared);
    if (auto *e = qobject_cast<QLineEdit *>(field))
        e->clear();
    else
        qobject_cast<QComboBox *>(field)->setCurrentIndex(-1);
    Dialogs::takeLog();
    QTest::mouseClick(child<QPushButton>(panel(), "Command4"), Qt::LeftButton);
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.first().kind, QStringLiteral("notice"));
    QCOMPARE(log.first().title, QStringLiteral("پيام"));
    QCOMPARE(log.first().text, message);
    QCOMPARE(QApplication::focusWidget(), field);
    QCOMPARE(m_main->area(), MainWindow::Area::Registration);
    QCOMPARE(storedRows("IDE"), 0);
}

void TestRegistrationPanel::duplicateKeepsThePanelOpen()
{
    addExaminee(QStringLiteral("3"));
    openMain();
    m_main->showArea(MainWindow::Area::Registration);
    fill(QStringLiteral("3 "));
    Dialogs::takeLog();
    QTest::mouseClick(child<QPushButton>(panel(), "Command4"), Qt::LeftButton);
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.first().text, RegistrationTexts::duplicateCode);
    QCOMPARE(m_main->area(), MainWindow::Area::Registration);
    QCOMPARE(child<QLineEdit>(panel(), "Text2_2")->text(), QStringLiteral("3 "));
    QCOMPARE(child<QLineEdit>(panel(), "Text2_0")->text(), QStringLiteral("سارا"));
    QCOMPARE(storedRows("IDE"), 1);
}

void TestRegistrationPanel::saveClosesAndKeepsTheFields()
{
    addExaminee(QStringLiteral("1"));
    openMain();
    QTest::mouseClick(child<WrapButton>(m_main, "Command2"), Qt::LeftButton);
    fill(QStringLiteral("2"));
    Dialogs::takeLog();
    QTest::mouseClick(child<QPushButton>(panel(), "Command4"), Qt::LeftButton);
    QVERIFY(Dialogs::takeLog().isEmpty()); // no confirmation
    QCOMPARE(m_main->area(), MainWindow::Area::Credits);
    QCOMPARE(storedField("IDE", "2", "Jens"), QStringLiteral("دختر"));
    QCOMPARE(storedField("IDE", "2", "Group"), QStringLiteral("C"));
    QCOMPARE(storedField("IDE", "2", "DateEjra"), QStringLiteral("1401/07/28"));
    QCOMPARE(storedField("Answer", "2", "Code"), QStringLiteral("2"));
    // Opening again: the last examinee's details, a new code and new dates.
    Clock::setFixed(QDateTime(QDate(2022, 10, 21), QTime(9, 0)));
    QTest::mouseClick(child<WrapButton>(m_main, "Command2"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(panel(), "Text2_0")->text(), QStringLiteral("سارا"));
    QCOMPARE(child<QComboBox>(panel(), "Combo3")->currentText(), QStringLiteral("C"));
    QCOMPARE(child<QLineEdit>(panel(), "Text2_2")->text(), QStringLiteral("3"));
    QCOMPARE(child<QLineEdit>(panel(), "Text2_4")->text(), QStringLiteral("1401/07/29"));
}

void TestRegistrationPanel::databaseErrorIsShown()
{
    openMain();
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER locked BEFORE INSERT ON Answer "
                                  "BEGIN SELECT RAISE(ABORT, 'database is locked'); END")));
    m_main->showArea(MainWindow::Area::Registration);
    fill(QStringLiteral("8"));
    Dialogs::takeLog();
    QTest::mouseClick(child<QPushButton>(panel(), "Command4"), Qt::LeftButton);
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.first().kind, QStringLiteral("message"));
    QCOMPARE(log.first().title, QStringLiteral("خطا"));
    QCOMPARE(log.first().text, DataTexts::storeFailed);
    QCOMPARE(m_main->area(), MainWindow::Area::Registration);
    QCOMPARE(storedRows("IDE"), 0);
}

void TestRegistrationPanel::cancelStoresNothing()
{
    openMain();
    QTest::mouseClick(child<WrapButton>(m_main, "Command2"), Qt::LeftButton);
    fill(QStringLiteral("9"));
    QTest::mouseClick(child<QPushButton>(panel(), "Command5"), Qt::LeftButton);
    QCOMPARE(m_main->area(), MainWindow::Area::Credits);
    QCOMPARE(storedRows("IDE"), 0);
    QCOMPARE(child<QLineEdit>(panel(), "Text2_2")->text(), QStringLiteral("9"));
}

void TestRegistrationPanel::dates_data()
{
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("test");
    QTest::addColumn<QString>("age"); // picked before the dates are typed; "" leaves the list empty
    QTest::addColumn<int>("answer"); // to the age question, if one is asked
    QTest::addColumn<QStringList>("shown"); // "kind:text" of every box
    QTest::addColumn<QString>("exactAge");
    QTest::addColumn<QString>("focus"); // objectName of the focused field when Save stops
    QTest::addColumn<QStringList>("stored"); // DateTavalod, DateEjra, Sen, AgeMonths; empty: nothing stored

    const QString birth = QStringLiteral("۱۳۹۴/۰۱/۱۵");
    const QString test = QStringLiteral("۱۴۰۱/۵/۲۰");
    const QString exact = QStringLiteral("7 سال و 4 ماه");
    const QString question
        = QStringLiteral("message:") + DateTexts::ageMismatch(QStringLiteral("6"), ReadExamineeDates(birth, test));
    const QStringList agreed = { "1394/01/15", "1401/05/20", "7", "88" };
    QTest::newRow("persian digits, list set from the dates")
        << birth << test << "" << 0 << QStringList() << exact << "" << agreed;
    QTest::newRow("mismatch, yes") << birth << test << "6" << int(QMessageBox::Yes) << QStringList { question } << exact
                                   << "" << QStringList { "1394/01/15", "1401/05/20", "6", "88" };
    QTest::newRow("mismatch, no") << birth << test << "6" << int(QMessageBox::No) << QStringList { question } << exact
                                  << "Combo2" << QStringList();
    QTest::newRow("today twice: no birth date") << "1401/07/28"
                                                << "1401/07/28"
                                                << "6" << 0 << QStringList() << ""
                                                << "" << QStringList { "1401/07/28", "1401/07/28", "6", "" };
    QTest::newRow("empty birth date") << "" << test << "6" << 0 << QStringList() << ""
                                      << "" << QStringList { "", "1401/05/20", "6", "" };
    QTest::newRow("31 Mehr") << "1394/07/31" << test << "6" << 0
                             << QStringList { "notice:" + DateTexts::invalidBirthDate } << ""
                             << "Text2_5" << QStringList();
    QTest::newRow("letters for the test date")
        << birth << "abc"
        << "7" << 0 << QStringList { "notice:" + DateTexts::invalidTestDate } << ""
        << "Text2_4" << QStringList();
    QTest::newRow("born after the test") << "1401/05/21"
                                         << "1401/05/20"
                                         << "7" << 0 << QStringList { "notice:" + DateTexts::birthAfterTest } << ""
                                         << "Text2_5" << QStringList();
}

// Registration end to end with the dates as a clinician types them.
void TestRegistrationPanel::dates()
{
    QFETCH(QString, birth);
    QFETCH(QString, test);
    QFETCH(QString, age);
    QFETCH(int, answer);
    QFETCH(QStringList, shown);
    QFETCH(QString, exactAge);
    QFETCH(QString, focus);
    QFETCH(QStringList, stored);
    openMain();
    QTest::mouseClick(child<WrapButton>(m_main, "Command2"), Qt::LeftButton);
    QCOMPARE(child<QLabel>(panel(), "LblAge")->text(), QString()); // today twice
    fill(QStringLiteral("5"));
    child<QComboBox>(panel(), "Combo2")->setCurrentIndex(child<QComboBox>(panel(), "Combo2")->findText(age));
    child<QLineEdit>(panel(), "Text2_5")->setText(birth);
    child<QLineEdit>(panel(), "Text2_4")->setText(test);
    QCOMPARE(child<QLabel>(panel(), "LblAge")->text(), exactAge);
    QVERIFY(child<QLabel>(panel(), "LblAge")->fontMetrics().horizontalAdvance(QStringLiteral("10 سال و 11 ماه"))
        <= child<QLabel>(panel(), "LblAge")->contentsRect().width());
    if (answer)
        Dialogs::setNextAnswer(QMessageBox::StandardButton(answer));
    Dialogs::takeLog();
    QTest::mouseClick(child<QPushButton>(panel(), "Command4"), Qt::LeftButton);
    QStringList log;
    for (const Dialogs::Shown &s : Dialogs::takeLog())
        log << s.kind + QLatin1Char(':') + s.text;
    QCOMPARE(log, shown);
    if (stored.isEmpty()) {
        QCOMPARE(m_main->area(), MainWindow::Area::Registration);
        QCOMPARE(storedRows("IDE"), 0);
        QCOMPARE(storedRows("Answer"), 0);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(child<QLineEdit>(panel(), "Text2_5")->text(), birth);
        QCOMPARE(child<QLineEdit>(panel(), "Text2_4")->text(), test);
        return;
    }
    QCOMPARE(m_main->area(), MainWindow::Area::Credits);
    QStringList now;
    for (const char *f : { "DateTavalod", "DateEjra", "Sen", "AgeMonths" })
        now << storedField("IDE", "5", QLatin1String(f));
    QCOMPARE(now, stored);
    QCOMPARE(storedField("Answer", "5", "Code"), QStringLiteral("5"));
}

void TestRegistrationPanel::startByCode_data()
{
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("shown"); // kinds and texts, in order
    QTest::addColumn<bool>("opens");
    const QString input = QStringLiteral("input: Enter Code | Plese Insert Code ");
    QTest::newRow("nobody registered") << QStringList() << "1" << true << QStringList() << false;
    QTest::newRow("cancel") << QStringList { "07" } << "" << false
                            << QStringList { input, "notice: " + RegistrationTexts::startEmptyCode } << false;
    QTest::newRow("empty") << QStringList { "07" } << "" << true
                           << QStringList { input, "notice: " + RegistrationTexts::startEmptyCode } << false;
    QTest::newRow("7 is not 07") << QStringList { "07" } << "7" << true
                                 << QStringList { input, "notice: " + RegistrationTexts::startUnknownCode } << false;
    QTest::newRow("trailing blank") << QStringList { "07" } << "07 " << true
                                    << QStringList { input, "notice: " + RegistrationTexts::startUnknownCode } << false;
    QTest::newRow("apostrophe") << QStringList { "1", "a'b" } << "a'b" << true << QStringList { input } << true;
    QTest::newRow("found") << QStringList { "1", "07" } << "07" << true << QStringList { input } << true;
    // Typed on a Persian or Arabic keyboard: the same code (the examinee's is the last registered).
    QTest::newRow("Persian digits") << QStringList { "1", "07" } << "\u06F0\u06F7" << true << QStringList { input }
                                    << true;
    QTest::newRow("Arabic-Indic digits") << QStringList { "1", "07" } << "\u0660\u0667" << true << QStringList { input }
                                         << true;
}

void TestRegistrationPanel::startByCode()
{
    QFETCH(QStringList, registered);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QStringList, shown);
    QFETCH(bool, opens);
    for (const QString &code : registered)
        addExaminee(code);
    openMain();
    m_main->showArea(MainWindow::Area::Registration);
    child<QLineEdit>(panel(), "Text2_1")->setText(QStringLiteral("kept"));
    Dialogs::takeLog();
    Dialogs::setNextInput(typed, ok);
    QTest::mouseClick(child<WrapButton>(m_main, "Command3"), Qt::LeftButton);
    QStringList log;
    for (const Dialogs::Shown &s : Dialogs::takeLog())
        log << (s.kind == QLatin1String("input") ? QStringLiteral("input: %1|%2").arg(s.title, s.text)
                                                 : s.kind + QStringLiteral(": ") + s.text);
    QCOMPARE(log, shown);
    TestWindow *test = OpenTestWindow();
    QCOMPARE(test != nullptr, opens);
    QCOMPARE(m_main->isVisible(), !opens);
    if (!opens)
        return;
    QVERIFY(test->isVisible());
    const QString code = registered.last();
    QCOMPARE(child<QLabel>(test, "Lblkey")->text(), code);
    QCOMPARE(child<RecordSource>(test, "Adodc2")->field(QStringLiteral("Code")), code);
    QCOMPARE(child<RecordSource>(test, "Adodc1")->field(QStringLiteral("Code")), code);
    // Closing the test window brings the main window back as it was.
    test->close();
    QVERIFY(m_main->isVisible());
    QCOMPARE(m_main->area(), MainWindow::Area::Registration);
    QCOMPARE(child<QLineEdit>(panel(), "Text2_1")->text(), QStringLiteral("kept"));
}

void TestRegistrationPanel::retestAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opens");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("no") << int(QMessageBox::No) << false;
}

// Starting a test over stored answers asks first, naming the child; No
// leaves everything as it was.
void TestRegistrationPanel::retestAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, opens);
    addExaminee(QStringLiteral("5"), QStringLiteral("7"), QStringLiteral("مينا"), QStringLiteral("كريمي"));
    {
        QSqlQuery q(Database::connection(Database::File::Examinee));
        QVERIFY(q.exec(QStringLiteral("UPDATE Answer SET \"3\" = '4' WHERE Code = '5'")));
    }
    openMain();
    Dialogs::takeLog();
    Dialogs::setNextInput(QStringLiteral("5"));
    Dialogs::setNextAnswer(QMessageBox::StandardButton(answer));
    QTest::mouseClick(child<WrapButton>(m_main, "Command3"), Qt::LeftButton);
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QCOMPARE(log.size(), 2);
    QCOMPARE(
        log[1].text, RegistrationTexts::startRetestQuestion.arg(QStringLiteral("5"), QStringLiteral("مينا كريمي")));
    QCOMPARE(log[1].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(OpenTestWindow() != nullptr, opens);
    QCOMPARE(m_main->isVisible(), !opens);
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(QStringLiteral("SELECT \"3\" FROM Answer WHERE Code = '5'")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("4"));
}

void TestRegistrationPanel::startTwiceGivesAFreshWindow()
{
    addExaminee(QStringLiteral("1"));
    addExaminee(QStringLiteral("2"));
    openMain();
    Dialogs::setNextInput(QStringLiteral("1"));
    QTest::mouseClick(child<WrapButton>(m_main, "Command3"), Qt::LeftButton);
    QPointer<TestWindow> first = OpenTestWindow();
    QVERIFY(first);
    first->StartTest();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first); // unloaded with its state
    Dialogs::setNextInput(QStringLiteral("2"));
    QTest::mouseClick(child<WrapButton>(m_main, "Command3"), Qt::LeftButton);
    TestWindow *second = OpenTestWindow();
    QVERIFY(second);
    QCOMPARE(child<QLabel>(second, "Lblkey")->text(), QStringLiteral("2"));
    QVERIFY(!child<QLineEdit>(second, "Txt1")->isVisible());
    QVERIFY(child<QPushButton>(second, "Command7")->isVisible());
}

void TestRegistrationPanel::registerTestAndScore()
{
    ClickGuard::setInterval(0);
    TestContent content;
    QString error;
    QVERIFY2(content.load(QStringLiteral(PELORIN_CONTENT_DIR), &error), qPrintable(error));
    addExaminee(QStringLiteral("1"));
    openMain();

    // Register.
    QTest::mouseClick(child<WrapButton>(m_main, "Command2"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(panel(), "Text2_2")->text(), QStringLiteral("2"));
    fill(child<QLineEdit>(panel(), "Text2_2")->text());
    QTest::mouseClick(child<QPushButton>(panel(), "Command4"), Qt::LeftButton);
    QCOMPARE(m_main->area(), MainWindow::Area::Credits);

    // Start the test by its code.
    Dialogs::setNextInput(QStringLiteral("2"));
    QTest::mouseClick(child<WrapButton>(m_main, "Command3"), Qt::LeftButton);
    TestWindow *test = OpenTestWindow();
    QVERIFY(test);
    QVERIFY(!m_main->isVisible());
    QCOMPARE(child<QLabel>(test, QStringLiteral("Lblscore_%1").arg(39))->text(), QStringLiteral("سارا کريمي"));
    QTest::mouseClick(child<QPushButton>(test, "Command7"), Qt::LeftButton);

    // The child answers: items 1 to 24 right, the rest with the next option.
    QStringList given;
    for (int i = 1; i <= 36; ++i) {
        const int key = content.items().at(i - 1).key;
        const int option = i <= 24 ? key : key % 6 + 1;
        given << QString::number(option);
        QCOMPARE(test->visibleItem(), i);
        HotSpot *spot = child<HotSpot>(test, QStringLiteral("Lbl%1_%2").arg(option).arg(i));
        QTest::mouseClick(test->windowHandle(), Qt::LeftButton, {}, spot->mapTo(test, spot->rect().center()));
        QCOMPARE(storedField("Answer", "2", QString::number(i)), QString::number(option));
    }
    QCOMPARE(test->visibleItem(), 36);
    QTest::mouseClick(child<QPushButton>(test, "Command4"), Qt::LeftButton);

    const QString iq = fixtureIq(24, 7);
    QCOMPARE(child<QLabel>(test, "Lblkham")->text(), QStringLiteral("24"));
    QCOMPARE(child<QLabel>(test, "Lblhoosh")->text(), iq);
    QCOMPARE(child<QLabel>(test, "LblN2")->text(), QStringLiteral("بهنجار يا متوسط بالا Bright Normal"));
    QCOMPARE(storedField("IDE", "2", "NKham"), QStringLiteral("24"));
    QCOMPARE(storedField("IDE", "2", "Hooshbahr"), iq);
    QCOMPARE(storedField("IDE", "2", "RDarsadi"), fixturePercentile(24, 7));
    QCOMPARE(storedField("IDE", "1", "NKham"), QString());
    for (int i = 1; i <= 36; ++i)
        QCOMPARE(storedField("Answer", "2", QString::number(i)), given.at(i - 1));

    QTest::mouseClick(child<QPushButton>(test, "Command6"), Qt::LeftButton);
    QVERIFY(m_main->isVisible());
    QCOMPARE(m_main->area(), MainWindow::Area::Credits);
}

// Pictures for docs/, taken when PELORIN_SCREENSHOT_DIR names a folder
// (run under Xvfb with QT_QPA_PLATFORM=xcb for the real look).
void TestRegistrationPanel::screenshots()
{
    const QString out = qEnvironmentVariable("PELORIN_SCREENSHOT_DIR");
    if (out.isEmpty())
        QSKIP("PELORIN_SCREENSHOT_DIR not set");
    ClickGuard::setInterval(0);
    // The pictures show the shipped demonstration norms, not the fixture's.
    {
        QVector<Schema::NormsRow> norms;
        QString error;
        QVERIFY2(
            Schema::readNormsCsv(QStringLiteral(PELORIN_CONTENT_DIR "/norms.csv"), &norms, &error), qPrintable(error));
        QSqlQuery q(Database::connection(Database::File::Examinee));
        QVERIFY(q.exec(QStringLiteral("DELETE FROM PPP")));
        for (const Schema::NormsRow &row : norms) {
            q.prepare(QStringLiteral("INSERT INTO PPP VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
            q.addBindValue(row.code);
            for (const QString &v : row.iq + row.percentile)
                q.addBindValue(v);
            QVERIFY(q.exec());
        }
    }
    TestContent content;
    QString contentError;
    QVERIFY2(content.load(QStringLiteral(PELORIN_CONTENT_DIR), &contentError), qPrintable(contentError));
    const QVector<int> key = content.answerKey();
    // A plausible child: right on the first 22 items, then wrong.
    auto choice = [&](int item) { return item <= 22 ? key[item - 1] : key[item - 1] % 6 + 1; };
    addExaminee(QStringLiteral("1"));
    openMain();
    QTest::mouseClick(child<WrapButton>(m_main, "Command2"), Qt::LeftButton);
    fill(child<QLineEdit>(panel(), "Text2_2")->text());
    child<QLineEdit>(panel(), "Text2_0")->setText(QStringLiteral("محمدحسين"));
    child<QLineEdit>(panel(), "Text2_1")->setText(QStringLiteral("شريعتمداري"));
    child<QLineEdit>(panel(), "Text2_5")->setText(QStringLiteral("۱۳۹۴/۳/۱۲"));
    QTest::qWait(200);
    QVERIFY(m_main->grab().save(out + QStringLiteral("/registration_panel.png")));
    QTest::mouseClick(child<QPushButton>(panel(), "Command4"), Qt::LeftButton);

    Dialogs::setNextInput(QStringLiteral("2"));
    QTest::mouseClick(child<WrapButton>(m_main, "Command3"), Qt::LeftButton);
    TestWindow *test = OpenTestWindow();
    QVERIFY(test);
    QVERIFY(QTest::qWaitForWindowActive(test));
    QTest::qWait(100);
    QTest::mouseClick(child<QPushButton>(test, "Command7"), Qt::LeftButton);
    for (int i = 1; i <= 7; ++i)
        test->RecordAnswer(i, choice(i));
    QTest::qWait(200);
    QVERIFY(test->grab().save(out + QStringLiteral("/test_window_item.png")));
    for (int i = 8; i <= 36; ++i)
        test->RecordAnswer(i, choice(i));
    QTest::mouseClick(child<QPushButton>(test, "Command4"), Qt::LeftButton);
    QTest::qWait(200);
    QVERIFY(test->grab().save(out + QStringLiteral("/result_panel.png")));
    QTest::mouseClick(child<QPushButton>(test, "Command8"), Qt::LeftButton);
    ReportPreview *preview = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *p = qobject_cast<ReportPreview *>(w); p && p->isVisible())
            preview = p;
    }
    QVERIFY(preview);
    QTest::qWait(300);
    QVERIFY(preview->grab().save(out + QStringLiteral("/scoring_sheet_preview.png")));
    QString error;
    QVERIFY2(preview->report().writePdf(out + QStringLiteral("/scoring_sheet.pdf"), &error), qPrintable(error));
}

QTEST_MAIN(TestRegistrationPanel)
#include "tst_registrationpanel.moc"
