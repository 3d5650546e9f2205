#include "ProgramFolder.h"
#include "common/Dialogs.h"
#include "common/LeadingNumber.h"
#include "data/DataTexts.h"
#include "records/window/RecordsTexts.h"
#include "records/window/RecordsWindow.h"
#include "report/RecordingPaintDevice.h"
#include "report/ReportPreview.h"
#include "tests/common/Children.h"
#include "ui/ClinicValues.h"
#include "ui/DateTexts.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>

namespace {

struct Person
{
    const char *code, *first, *last, *group;
};

// Small enough to read, with shared names so searches find several rows.
const Person kPeople[] = {
    { "1", "علي", "احمدي", "A" },
    { "2", "مريم", "رضايي", "B" },
    { "3", "علي", "رضايي", "F" },
    { "4", "سارا", "احمدي", "G" },
    { "07", "رضا", "کريمي", "A" },
    { "12", "O'Neil", "Smith", "C" },
};

void addPeople()
{
    RecordSource ide, answer;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(answer.open(Database::File::Examinee, QStringLiteral("Answer")));
    for (const Person &p : kPeople) {
        ide.addNew();
        ide.setField(QStringLiteral("Code"), QString::fromUtf8(p.code));
        ide.setField(QStringLiteral("FName"), QString::fromUtf8(p.first));
        ide.setField(QStringLiteral("LName"), QString::fromUtf8(p.last));
        ide.setField(QStringLiteral("Group"), QString::fromUtf8(p.group));
        ide.setField(QStringLiteral("Sen"), QStringLiteral("7"));
        QVERIFY(ide.update());
        answer.addNew();
        answer.setField(QStringLiteral("Code"), QString::fromUtf8(p.code));
        QVERIFY(answer.update());
    }
}

QStringList gridCodes(RecordsWindow &w)
{
    QStringList codes;
    auto *model = child<QTableView>(&w, "DataGrid1")->model();
    for (int r = 0; r < model->rowCount(); ++r)
        codes << model->index(r, 0).data().toString();
    return codes;
}

void clickRow(RecordsWindow &w, int row)
{
    QTableView *grid = child<QTableView>(&w, "DataGrid1");
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

int stored(const char *table, const QString &code)
{
    QSqlQuery q(Database::connection(Database::File::Examinee));
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Code = ?").arg(QLatin1String(table)));
    q.addBindValue(code);
    return q.exec() && q.next() ? q.value(0).toInt() : -1;
}

// Types \a text key by key (keyClicks knows only ASCII keys).
void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The report preview the print opened last, if any.
ReportPreview *openPreview()
{
    ReportPreview *preview = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *p = qobject_cast<ReportPreview *>(w))
            preview = p;
    }
    return preview;
}

QStringList noticeTexts()
{
    QStringList texts;
    for (const Dialogs::Shown &s : Dialogs::takeLog())
        texts << s.kind + QLatin1Char(':') + s.text;
    return texts;
}

} // namespace

class TestRecordsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void opensWithTheFullList();
    void listIsReadAfterTheFirstPaint();
    void search_data();
    void search();
    void searchesReplaceEachOther();
    void editThenCancelRestores();
    void editThenSaveStores();
    void saveOfARowDeletedElsewhereSaysSo();
    void editDates_data();
    void editDates();
    void deleteExaminee_data();
    void deleteExaminee();
    void printPrintsTheShownRows();
    void ageEditRecomputesTheResult_data();
    void ageEditRecomputesTheResult();
    void leavingAPendingEditAsks_data();
    void leavingAPendingEditAsks();
    void editPanelTrims();
    void failedRefreshIsShown_data();
    void failedRefreshIsShown();
    void printTakesTheStoredProfile();
    void closingShowsTheMainWindow();
    void screenshot();

private:
    ProgramFolder *m_folder = nullptr;
    QWidget *m_main = nullptr;
    ClinicValues m_clinic;
    RecordsWindow *m_window = nullptr;
};

void TestRecordsWindow::init()
{
    Dialogs::setTestMode(true);
    m_folder = new ProgramFolder;
    QVERIFY(m_folder->openAll());
    addPeople();
    m_main = new QWidget;
    m_window = new RecordsWindow(m_main, &m_clinic);
    QString error;
    QVERIFY2(m_window->load(&error), qPrintable(error));
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTRY_VERIFY(m_window->isListRead());
}

void TestRecordsWindow::cleanup()
{
    QList<QPointer<ReportPreview>> previews;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *p = qobject_cast<ReportPreview *>(w))
            previews << p;
    }
    delete m_window; // previews it owns go with it
    for (const QPointer<ReportPreview> &p : previews)
        delete p.data();
    delete m_main;
    delete m_folder;
}

void TestRecordsWindow::opensWithTheFullList()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("FrmCode"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("کد آزمودني"));
    QCOMPARE(gridCodes(*m_window), (QStringList { "1", "2", "3", "4", "07", "12" }));
    QStringList captions;
    for (int c = 0; c < child<QTableView>(m_window, "DataGrid1")->model()->columnCount(); ++c)
        captions << child<QTableView>(m_window, "DataGrid1")->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions,
        (QStringList { QStringLiteral("كدآزمودني"), QStringLiteral("نام"), QStringLiteral("نام خانوادگي"),
            QStringLiteral("تحصيلات"), QStringLiteral("سن"), QStringLiteral("گروه"), QStringLiteral("نمره خام"),
            QStringLiteral("رتبه درصدي"), QStringLiteral("هوشبهر") }));
    QVERIFY(!child<QGroupBox>(m_window, "Frame1")->isVisible() && !child<QGroupBox>(m_window, "Frame2")->isVisible());
    QCOMPARE(child<QGroupBox>(m_window, "Frame2")->geometry(), QRect(249, 231, 235, 262));
    QCOMPARE(child<QGroupBox>(m_window, "Frame1")->geometry(), QRect(249, 231, 221, 177));
    QCOMPARE(child<QComboBox>(m_window, "Combo3")->placeholderText(), QStringLiteral("جنسيت را انتخاب كنيد"));
    // Each name offered once, in row order.
    QCOMPARE(child<QComboBox>(m_window, "DataCombo1")->count(), 4);
    QCOMPARE(child<QComboBox>(m_window, "DataCombo1")->itemText(0), QStringLiteral("احمدي"));

    // Choosing a row in the grid makes it current; the edit panel follows.
    clickRow(*m_window, 2);
    QCOMPARE(child<RecordSource>(m_window, "Adodc2")->field(QStringLiteral("Code")), QStringLiteral("3"));
    QCOMPARE(child<QLineEdit>(m_window, "TextLName")->text(), QStringLiteral("رضايي"));
}

void TestRecordsWindow::listIsReadAfterTheFirstPaint()
{
    RecordsWindow w(m_main, &m_clinic);
    QString error;
    QVERIFY2(w.load(&error), qPrintable(error));
    QVERIFY(!w.isListRead());
    QCOMPARE(child<QTableView>(&w, "DataGrid1")->model()->rowCount(), 0);
    // A search before the list is read reads the table for itself, and
    // the list read that follows the paint leaves the search alone.
    child<QComboBox>(&w, "DataCombo1")->setEditText(QStringLiteral("احمدي"));
    QCOMPARE(gridCodes(w), (QStringList { "1", "4" }));
    w.show();
    QTRY_VERIFY(w.isListRead());
    QCOMPARE(gridCodes(w), (QStringList { "1", "4" }));

    RecordsWindow plain(m_main, &m_clinic);
    QVERIFY2(plain.load(&error), qPrintable(error));
    plain.show();
    QTRY_VERIFY(plain.isListRead());
    QCOMPARE(gridCodes(plain).size(), 6);
    QCOMPARE(child<QLabel>(&plain, "LabelCount")->text().section(QLatin1Char(' '), 0, 0), QStringLiteral("6"));
}

void TestRecordsWindow::search_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("last name") << "DataCombo1" << QStringLiteral("رضايي") << QStringList { "2", "3" };
    QTest::newRow("first name") << "DataCombo6" << QStringLiteral("علي") << QStringList { "1", "3" };
    QTest::newRow("apostrophe") << "DataCombo6" << QStringLiteral("O'Neil") << QStringList { "12" };
    QTest::newRow("group A") << "Combo3" << QStringLiteral("A") << QStringList { "1", "07" };
    QTest::newRow("group F") << "Combo3" << QStringLiteral("F") << QStringList { "3" };
    QTest::newRow("group G") << "Combo3" << QStringLiteral("G") << QStringList { "4" };
    QTest::newRow("no match") << "DataCombo1" << QStringLiteral("نيست") << QStringList();
    QTest::newRow("partial name") << "DataCombo1" << QStringLiteral("احمد") << QStringList();
    // A Persian or Arabic keyboard, a half-space or blanks still find the stored spelling.
    QTest::newRow("Persian yeh finds Arabic yeh") << "DataCombo6" << QStringLiteral("علی") << QStringList { "1", "3" };
    QTest::newRow("alef maksura") << "DataCombo6" << QStringLiteral("على") << QStringList { "1", "3" };
    QTest::newRow("Arabic kaf finds Persian kaf") << "DataCombo1" << QStringLiteral("كريمی") << QStringList { "07" };
    QTest::newRow("zero-width non-joiner") << "DataCombo1" << QStringLiteral("رضا\u200Cيي") << QStringList { "2", "3" };
    QTest::newRow("zero-width joiner") << "DataCombo6" << QStringLiteral("مر\u200Dيم") << QStringList { "2" };
    QTest::newRow("blanks around") << "DataCombo6" << QStringLiteral(" سارا ") << QStringList { "4" };
    QTest::newRow("folded but different") << "DataCombo6" << QStringLiteral("علیی") << QStringList();
}

void TestRecordsWindow::search()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QStringList, codes);
    auto *combo = m_window->findChild<QComboBox *>(box);
    QVERIFY(combo);
    if (combo->isEditable()) {
        for (const QChar ch : text) // typed letter by letter
            QTest::sendKeyEvent(QTest::Click, combo->lineEdit(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
    } else {
        combo->setCurrentIndex(combo->findText(text));
    }
    QCOMPARE(gridCodes(*m_window), codes);
    QVERIFY(noticeTexts().isEmpty()); // no message, only the grid changes
}

// Each search empties the other boxes and filters on its own value only.
void TestRecordsWindow::searchesReplaceEachOther()
{
    child<QComboBox>(m_window, "DataCombo1")->setEditText(QStringLiteral("احمدي"));
    QCOMPARE(gridCodes(*m_window), (QStringList { "1", "4" }));
    child<QComboBox>(m_window, "Combo3")
        ->setCurrentIndex(child<QComboBox>(m_window, "Combo3")->findText(QStringLiteral("B")));
    QCOMPARE(gridCodes(*m_window), QStringList { "2" });
    QCOMPARE(child<QComboBox>(m_window, "DataCombo1")->currentText(), QString());
    // The first-name list now offers the names of the shown rows.
    QCOMPARE(child<QComboBox>(m_window, "DataCombo6")->count(), 1);
    child<QComboBox>(m_window, "DataCombo6")->setEditText(QStringLiteral("علي"));
    QCOMPARE(gridCodes(*m_window), (QStringList { "1", "3" }));
    QCOMPARE(child<QComboBox>(m_window, "Combo3")->currentIndex(), -1);
    child<QPushButton>(m_window, "Command5")->click(); // review: the full list again
    QCOMPARE(gridCodes(*m_window).size(), 6);
}

void TestRecordsWindow::editThenCancelRestores()
{
    child<QComboBox>(m_window, "DataCombo1")->setEditText(QStringLiteral("رضايي"));
    child<QPushButton>(m_window, "Command9")->click();
    QVERIFY(child<QGroupBox>(m_window, "Frame2")->isVisible());
    child<QLineEdit>(m_window, "TextFName")->setText(QStringLiteral("تغيير"));
    child<QComboBox>(m_window, "Combo2")->setCurrentIndex(-1);
    child<QComboBox>(m_window, "Combo2")->textActivated(QStringLiteral("9"));
    QCOMPARE(child<QLineEdit>(m_window, "TextSen")->text(), QStringLiteral("9"));
    // The grid shows what is stored, not the edit under way.
    QCOMPARE(child<QTableView>(m_window, "DataGrid1")->model()->index(0, 1).data().toString(), QStringLiteral("مريم"));
    child<QPushButton>(m_window, "Command8")->click();
    QVERIFY(!child<QGroupBox>(m_window, "Frame2")->isVisible());
    QCOMPARE(gridCodes(*m_window).size(), 6);
    QCOMPARE(child<RecordSource>(m_window, "Adodc2")->field(QStringLiteral("FName")), QStringLiteral("علي"));
    child<RecordSource>(m_window, "Adodc2")->setFilter(QStringLiteral("Code"), QStringLiteral("2"));
    QCOMPARE(child<RecordSource>(m_window, "Adodc2")->field(QStringLiteral("FName")), QStringLiteral("مريم"));
    QCOMPARE(child<RecordSource>(m_window, "Adodc2")->field(QStringLiteral("Sen")), QStringLiteral("7"));
}

void TestRecordsWindow::editThenSaveStores()
{
    clickRow(*m_window, 1);
    child<QPushButton>(m_window, "Command9")->click();
    child<QLineEdit>(m_window, "TextTahsil")->setText(QStringLiteral("اول دبستان"));
    child<QComboBox>(m_window, "Combo1")->textActivated(QStringLiteral("E"));
    child<QPushButton>(m_window, "Command7")->click();
    QVERIFY(child<QGroupBox>(m_window, "Frame2")->isVisible()); // save leaves the panel open
    RecordSource check;
    QVERIFY(check.open(Database::File::Examinee, QStringLiteral("IDE")));
    check.setFilter(QStringLiteral("Code"), QStringLiteral("2"));
    QCOMPARE(check.field(QStringLiteral("Tahsil")), QStringLiteral("اول دبستان"));
    QCOMPARE(check.field(QStringLiteral("Group")), QStringLiteral("E"));
}

// Another window (a source of its own) deletes the examinee while it is
// being edited here: the save fails with a box the user can read.
void TestRecordsWindow::saveOfARowDeletedElsewhereSaysSo()
{
    clickRow(*m_window, 1);
    child<QPushButton>(m_window, "Command9")->click();
    child<QLineEdit>(m_window, "TextTahsil")->setText(QStringLiteral("اول دبستان"));
    RecordSource other;
    QVERIFY(
        other.openWhere(Database::File::Examinee, QStringLiteral("IDE"), QStringLiteral("Code"), QStringLiteral("2")));
    QVERIFY(other.deleteCurrent());
    Dialogs::takeLog();
    child<QPushButton>(m_window, "Command7")->click();
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].kind, QStringLiteral("message"));
    QCOMPARE(log[0].title, RecordsTexts::errorTitle);
    QCOMPARE(log[0].text, QStringLiteral("اين ركورد توسط پنجره ديگري حذف شده است؛ تغييرات ذخيره نشد"));
    QCOMPARE(log[0].icon, Dialogs::Icon::Warning);
    QCOMPARE(stored("IDE", QStringLiteral("2")), 0); // nothing written back
    QCOMPARE(child<QLineEdit>(m_window, "TextTahsil")->text(),
        QStringLiteral("اول دبستان")); // the edit is still there to see
}

void TestRecordsWindow::editDates_data()
{
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("test");
    QTest::addColumn<QString>("age"); // the Sen box before the dates are typed
    QTest::addColumn<int>("answer"); // to the mismatch question, if one is asked
    QTest::addColumn<QString>("shown"); // "notice:..." / "message:..." / ""
    QTest::addColumn<QString>("exactAge");
    QTest::addColumn<QStringList>("stored"); // DateTavalod, DateEjra, Sen, AgeMonths; empty: nothing stored

    const QString birth = QStringLiteral("۱۳۹۴/۱/۱۵");
    const QString test = QStringLiteral("1401-5-20");
    const QString exact = QStringLiteral("7 سال و 4 ماه");
    const QStringList agreed = { "1394/01/15", "1401/05/20", "7", "88" };
    const ExamineeDates dates = ReadExamineeDates(birth, test);
    const QString question = QStringLiteral("message:") + DateTexts::ageMismatch(QStringLiteral("9"), dates);
    QTest::newRow("persian digits, empty age set") << birth << test << "" << 0 << "" << exact << agreed;
    QTest::newRow("agreeing age") << birth << test << "7" << 0 << "" << exact << agreed;
    QTest::newRow("mismatch, yes") << birth << test << "9" << int(QMessageBox::Yes) << question << exact
                                   << QStringList { "1394/01/15", "1401/05/20", "9", "88" };
    QTest::newRow("mismatch, no") << birth << test << "9" << int(QMessageBox::No) << question << exact << QStringList();
    QTest::newRow("same day: no birth date") << "1401/05/20"
                                             << "1401/05/20"
                                             << "9" << 0 << ""
                                             << "" << QStringList { "1401/05/20", "1401/05/20", "9", "" };
    QTest::newRow("both empty") << ""
                                << ""
                                << "8" << 0 << ""
                                << "" << QStringList { "", "", "8", "" };
    QTest::newRow("leap day of a common year")
        << "1398/12/30" << test << "7" << 0 << "notice:" + DateTexts::invalidBirthDate << "" << QStringList();
    QTest::newRow("month 13") << birth << "1401/13/01"
                              << "7" << 0 << "notice:" + DateTexts::invalidTestDate << "" << QStringList();
    QTest::newRow("born after the test") << "1401/05/21"
                                         << "1401/05/20"
                                         << "7" << 0 << "notice:" + DateTexts::birthAfterTest << "" << QStringList();
}

// The edit panel keeps the registration panel's date rules.
void TestRecordsWindow::editDates()
{
    QFETCH(QString, birth);
    QFETCH(QString, test);
    QFETCH(QString, age);
    QFETCH(int, answer);
    QFETCH(QString, shown);
    QFETCH(QString, exactAge);
    QFETCH(QStringList, stored);
    clickRow(*m_window, 1);
    child<QPushButton>(m_window, "Command9")->click();
    child<QLineEdit>(m_window, "TextSen")->setText(age);
    typeText(child<QLineEdit>(m_window, "TextTavalod"), birth);
    typeText(child<QLineEdit>(m_window, "TextEjra"), test);
    QCOMPARE(child<QLabel>(m_window, "LblAge")->text(), exactAge);
    QVERIFY(child<QLabel>(m_window, "LblAge")->fontMetrics().horizontalAdvance(QStringLiteral("10 سال و 11 ماه"))
        <= child<QLabel>(m_window, "LblAge")->contentsRect().width());
    if (answer)
        Dialogs::setNextAnswer(QMessageBox::StandardButton(answer));
    noticeTexts();
    child<QPushButton>(m_window, "Command7")->click();
    QCOMPARE(noticeTexts(), shown.isEmpty() ? QStringList() : QStringList { shown });

    RecordSource check;
    QVERIFY(check.open(Database::File::Examinee, QStringLiteral("IDE")));
    check.setFilter(QStringLiteral("Code"), QStringLiteral("2"));
    const QStringList fields = { "DateTavalod", "DateEjra", "Sen", "AgeMonths" };
    QStringList now;
    for (const QString &f : fields)
        now << check.field(f);
    if (stored.isEmpty()) {
        // Nothing stored, and the panel still holds what was typed.
        QCOMPARE(now, (QStringList { "", "", "7", "" }));
        QCOMPARE(child<QLineEdit>(m_window, "TextTavalod")->text(), birth);
        QCOMPARE(child<QLineEdit>(m_window, "TextEjra")->text(), test);
        QCOMPARE(child<QLineEdit>(m_window, "TextSen")->text(), age);
        return;
    }
    QCOMPARE(now, stored);
    QCOMPARE(child<QLineEdit>(m_window, "TextTavalod")->text(), stored[0]); // shown as stored
}

void TestRecordsWindow::deleteExaminee_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<bool>("gone");
    QTest::newRow("yes") << "2" << int(QMessageBox::Yes) << QStringLiteral("حذف با موفقيت انجام گرفت") << true;
    QTest::newRow("no") << "2" << int(QMessageBox::No) << QString() << false;
    QTest::newRow("empty") << "" << 0 << QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد") << false;
    QTest::newRow("blanks") << " 2 " << 0 << QStringLiteral("فردي با اين کد وجود ندارد") << false;
    QTest::newRow("leading zero") << "02" << 0 << QStringLiteral("فردي با اين کد وجود ندارد") << false;
    QTest::newRow("7 is not 07") << "7" << 0 << QStringLiteral("فردي با اين کد وجود ندارد") << false;
    QTest::newRow("Persian digit") << "\u06F2" << int(QMessageBox::Yes) << QStringLiteral("حذف با موفقيت انجام گرفت")
                                   << true;
    QTest::newRow("Arabic-Indic digit") << "\u0662" << int(QMessageBox::Yes)
                                        << QStringLiteral("حذف با موفقيت انجام گرفت") << true;
}

void TestRecordsWindow::deleteExaminee()
{
    QFETCH(QString, code);
    QFETCH(int, answer);
    QFETCH(QString, notice);
    QFETCH(bool, gone);
    child<QPushButton>(m_window, "Command1")->click();
    QVERIFY(child<QGroupBox>(m_window, "Frame1")->isVisible());
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(m_window, "Text3"));
    child<QLineEdit>(m_window, "Text3")->setText(code);
    if (answer)
        Dialogs::setNextAnswer(QMessageBox::StandardButton(answer));
    QTest::keyClick(child<QLineEdit>(m_window, "Text3"), Qt::Key_Return); // Enter deletes as the button does
    const auto log = Dialogs::takeLog();
    QStringList notices;
    for (const auto &s : log) {
        if (s.kind == QLatin1String("message")) {
            QCOMPARE(s.title, QStringLiteral("Pelorin"));
            // The examinee is named (code and full name), and Enter keeps them.
            QCOMPARE(s.text, QStringLiteral("آيا براي حذف کردن آزمودني با کد 2 (مريم رضايي) مطمئن هستيد؟"));
            QCOMPARE(s.buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(s.defaultButton, QMessageBox::No);
            QCOMPARE(s.icon, Dialogs::Icon::None);
        } else {
            notices << s.text;
        }
    }
    QCOMPARE(notices, notice.isEmpty() ? QStringList() : QStringList { notice });
    const QString trimmed = code.trimmed();
    if (!trimmed.isEmpty()) {
        QCOMPARE(stored("IDE", QStringLiteral("2")), gone ? 0 : 1);
        QCOMPARE(stored("Answer", QStringLiteral("2")), gone ? 0 : 1);
    }
    QCOMPARE(gridCodes(*m_window).size(), gone ? 5 : 6); // full list again
    QVERIFY(child<QGroupBox>(m_window, "Frame1")->isVisible());
}

void TestRecordsWindow::printPrintsTheShownRows()
{
    child<QComboBox>(m_window, "Combo3")
        ->setCurrentIndex(child<QComboBox>(m_window, "Combo3")->findText(QStringLiteral("A")));
    child<QPushButton>(m_window, "Command3")->click();
    ReportPreview *preview = openPreview();
    QVERIFY(preview);
    QCOMPARE(preview->report().rowCount(), 2);
    delete preview;
    child<QPushButton>(m_window, "Command5")->click();
    child<QPushButton>(m_window, "Command3")->click();
    preview = openPreview();
    QVERIFY(preview);
    QCOMPARE(preview->report().rowCount(), 6);
}

void TestRecordsWindow::closingShowsTheMainWindow()
{
    for (const char *way : { "button", "close box" }) {
        m_main->hide();
        m_window->show();
        if (qstrcmp(way, "button") == 0)
            child<QPushButton>(m_window, "Command6")->click();
        else
            m_window->close();
        QVERIFY2(m_main->isVisible(), way);
        QVERIFY(!m_window->isVisible());
    }
}

// The edit panel for docs/, taken when PELORIN_SCREENSHOT_DIR names a
// folder (run under Xvfb with QT_QPA_PLATFORM=xcb for the real look).
void TestRecordsWindow::screenshot()
{
    const QString out = qEnvironmentVariable("PELORIN_SCREENSHOT_DIR");
    if (out.isEmpty())
        QSKIP("PELORIN_SCREENSHOT_DIR not set");
    clickRow(*m_window, 1);
    child<QPushButton>(m_window, "Command9")->click();
    child<QLineEdit>(m_window, "TextTavalod")->setText(QStringLiteral("1391/11/02"));
    child<QLineEdit>(m_window, "TextEjra")->setText(QStringLiteral("1401/07/28"));
    child<QLineEdit>(m_window, "TextSen")->setText(QStringLiteral("9"));
    QTest::qWait(200);
    QVERIFY(m_window->grab().save(out + QStringLiteral("/records_edit.png")));
}

void TestRecordsWindow::ageEditRecomputesTheResult_data()
{
    QTest::addColumn<QString>("raw"); // NKham as stored by the test
    QTest::addColumn<QString>("newAge");
    QTest::addColumn<QString>("tahsil"); // an edit of another field, or none
    QTest::addColumn<QStringList>("result"); // Hooshbahr, RDarsadi stored after the save
    const QString invalid = QStringLiteral("نتيجه نامعتبر مي باشد");
    QTest::newRow("7 to 9") << "20"
                            << "9"
                            << "" << QStringList { "95", "37" };
    QTest::newRow("age without norms") << "20"
                                       << "11"
                                       << "" << QStringList { invalid, "0" };
    QTest::newRow("IQ of the new age below 25") << "21"
                                                << "9"
                                                << "" << QStringList { invalid, "1" };
    QTest::newRow("raw score below 5") << "4"
                                       << "9"
                                       << "" << QStringList { invalid, "0" };
    QTest::newRow("not scored yet") << ""
                                    << "9"
                                    << "" << QStringList { "", "" };
    QTest::newRow("age kept, other edit") << "20"
                                          << "7"
                                          << "دوم" << QStringList { "103", "57" };
}

// The stored result follows the age: 103 and 57 belong to age 7 only.
void TestRecordsWindow::ageEditRecomputesTheResult()
{
    QFETCH(QString, raw);
    QFETCH(QString, newAge);
    QFETCH(QString, tahsil);
    QFETCH(QStringList, result);
    QSqlQuery q(Database::connection(Database::File::Examinee));
    QVERIFY(q.exec(
        QStringLiteral("UPDATE PPP SET \"7\" = '103', \"7p\" = '57', \"9\" = '95', \"9p\" = '37' WHERE Code = '20'")));
    QVERIFY(q.exec(QStringLiteral("UPDATE PPP SET \"9\" = '20', \"9p\" = '1' WHERE Code = '21'")));
    const bool scored = !raw.isEmpty();
    q.prepare(QStringLiteral("UPDATE IDE SET NKham = ?, Hooshbahr = ?, RDarsadi = ? WHERE Code = '2'"));
    q.addBindValue(raw);
    q.addBindValue(scored ? QStringLiteral("103") : QString());
    q.addBindValue(scored ? QStringLiteral("57") : QString());
    QVERIFY(q.exec());
    m_window->review();
    if (scored && LenientNumber(raw) < 5)
        result = QStringList { QStringLiteral("نتيجه نامعتبر مي باشد"), QStringLiteral("0") };

    clickRow(*m_window, 1);
    child<QPushButton>(m_window, "Command9")->click();
    child<QComboBox>(m_window, "Combo2")->textActivated(newAge);
    if (!tahsil.isEmpty())
        child<QLineEdit>(m_window, "TextTahsil")->setText(tahsil);
    child<QPushButton>(m_window, "Command7")->click();
    QVERIFY(noticeTexts().isEmpty());

    RecordSource check;
    QVERIFY(
        check.openWhere(Database::File::Examinee, QStringLiteral("IDE"), QStringLiteral("Code"), QStringLiteral("2")));
    QCOMPARE(check.field(QStringLiteral("Sen")), newAge);
    QCOMPARE(
        (QStringList { check.field(QStringLiteral("Hooshbahr")), check.field(QStringLiteral("RDarsadi")) }), result);
    QCOMPARE(check.field(QStringLiteral("NKham")), raw);
    // The grid shows the new values at once.
    auto *model = child<QTableView>(m_window, "DataGrid1")->model();
    QCOMPARE(model->index(1, 8).data().toString(), result[0]);
    QCOMPARE(model->index(1, 7).data().toString(), result[1]);
    QCOMPARE(model->index(1, 4).data().toString(), newAge);
}

void TestRecordsWindow::leavingAPendingEditAsks_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("answer");
    for (const char *way : { "grid row", "search", "review", "print", "export", "delete", "close" }) {
        for (const auto &[name, answer] : { std::pair { "save", QMessageBox::Save },
                 std::pair { "discard", QMessageBox::Discard }, std::pair { "stay", QMessageBox::Cancel } })
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(way), QLatin1String(name))))
                << QString::fromLatin1(way) << int(answer);
    }
}

// Editing examinee 2 and then going elsewhere: the edit is saved, discarded
// or kept with the row still current, as the user answers; never stored
// silently, never lost silently, never shown as if stored.
void TestRecordsWindow::leavingAPendingEditAsks()
{
    QFETCH(QString, way);
    QFETCH(int, answer);
    const QString edited = QStringLiteral("مريم ويرايش");
    clickRow(*m_window, 1);
    child<QPushButton>(m_window, "Command9")->click();
    child<QLineEdit>(m_window, "TextFName")->setText(edited);
    QCOMPARE(child<QTableView>(m_window, "DataGrid1")->model()->index(1, 1).data().toString(), QStringLiteral("مريم"));
    noticeTexts();

    Dialogs::setNextAnswer(QMessageBox::StandardButton(answer));
    if (way == QLatin1String("export"))
        Dialogs::setNextFile(QString()); // cancelled after the question
    if (way == QLatin1String("delete"))
        Dialogs::setNextAnswer(QMessageBox::No);
    m_main->hide();
    if (way == QLatin1String("grid row")) {
        clickRow(*m_window, 3);
    } else if (way == QLatin1String("search")) {
        child<QComboBox>(m_window, "DataCombo1")->setEditText(QStringLiteral("احمدي"));
    } else if (way == QLatin1String("review")) {
        child<QPushButton>(m_window, "Command5")->click();
    } else if (way == QLatin1String("print")) {
        child<QPushButton>(m_window, "Command3")->click();
    } else if (way == QLatin1String("export")) {
        child<QPushButton>(m_window, "CommandExport")->click();
    } else if (way == QLatin1String("delete")) {
        child<QPushButton>(m_window, "Command1")->click();
        child<QLineEdit>(m_window, "Text3")->setText(QStringLiteral("4"));
        child<QPushButton>(m_window, "Command2")->click();
    } else {
        m_window->close();
    }
    const auto log = Dialogs::takeLog();
    QVERIFY(!log.isEmpty());
    QCOMPARE(log[0].kind, QStringLiteral("message"));
    QCOMPARE(log[0].text, QStringLiteral("تغييرات مشخصات آزمودني با کد 2 (مريم رضايي) ذخيره نشده است. آيا ذخيره شود؟"));
    QCOMPARE(log[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(log[0].defaultButton, QMessageBox::Save);

    RecordSource check;
    QVERIFY(
        check.openWhere(Database::File::Examinee, QStringLiteral("IDE"), QStringLiteral("Code"), QStringLiteral("2")));
    const bool stays = answer == QMessageBox::Cancel;
    QCOMPARE(check.field(QStringLiteral("FName")), answer == QMessageBox::Save ? edited : QStringLiteral("مريم"));
    if (stays) {
        // Still on examinee 2, the edit still there to save.
        QCOMPARE(child<RecordSource>(m_window, "Adodc2")->field(QStringLiteral("Code")), QStringLiteral("2"));
        QCOMPARE(child<QLineEdit>(m_window, "TextFName")->text(), edited);
        QCOMPARE(child<QTableView>(m_window, "DataGrid1")->selectionModel()->currentIndex().row(), 1);
        QCOMPARE(gridCodes(*m_window).size(), 6);
        QCOMPARE(child<QComboBox>(m_window, "DataCombo1")->currentText(), QString());
        QVERIFY(m_window->isVisible() && !m_main->isVisible());
        QCOMPARE(log.size(), 1); // nothing else happened
    } else {
        QVERIFY(!child<RecordSource>(m_window, "Adodc2")->hasPending());
        if (way == QLatin1String("grid row"))
            QCOMPARE(child<RecordSource>(m_window, "Adodc2")->field(QStringLiteral("Code")), QStringLiteral("4"));
        if (way == QLatin1String("search"))
            QCOMPARE(gridCodes(*m_window), (QStringList { "1", "4" }));
        if (way == QLatin1String("close"))
            QVERIFY(!m_window->isVisible() && m_main->isVisible());
        if (way == QLatin1String("delete"))
            QCOMPARE(log.size(), 2); // then the delete question
    }
    QCOMPARE(openPreview() != nullptr, way == QLatin1String("print") && !stays);
    // What the grid shows is what the file holds.
    const int row = gridCodes(*m_window).indexOf(QStringLiteral("2"));
    if (row >= 0)
        QCOMPARE(child<QTableView>(m_window, "DataGrid1")->model()->index(row, 1).data().toString(),
            check.field(QStringLiteral("FName")));
}

void TestRecordsWindow::editPanelTrims()
{
    clickRow(*m_window, 1);
    child<QPushButton>(m_window, "Command9")->click();
    child<QLineEdit>(m_window, "TextFName")->setText(QStringLiteral("  مريم "));
    child<QLineEdit>(m_window, "TextLName")->setText(QStringLiteral("رضايي  "));
    child<QLineEdit>(m_window, "TextTahsil")->setText(QStringLiteral(" اول "));
    child<QLineEdit>(m_window, "TextAzmayande")->setText(QStringLiteral("   "));
    child<QPushButton>(m_window, "Command7")->click();
    RecordSource check;
    QVERIFY(
        check.openWhere(Database::File::Examinee, QStringLiteral("IDE"), QStringLiteral("Code"), QStringLiteral("2")));
    QCOMPARE(check.field(QStringLiteral("FName")), QStringLiteral("مريم"));
    QCOMPARE(check.field(QStringLiteral("LName")), QStringLiteral("رضايي"));
    QCOMPARE(check.field(QStringLiteral("Tahsil")), QStringLiteral("اول"));
    QCOMPARE(check.field(QStringLiteral("Azmayande")), QString());
    QCOMPARE(child<QLineEdit>(m_window, "TextFName")->text(), QStringLiteral("مريم"));
}

void TestRecordsWindow::failedRefreshIsShown_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("review") << "review";
    QTest::newRow("print") << "print";
    QTest::newRow("delete") << "delete";
}

// Another program holds the examinee file (or the profile) locked: the
// refresh that cannot read it says so, and the old list is not passed off
// as the file's.
void TestRecordsWindow::failedRefreshIsShown()
{
    QFETCH(QString, way);
    addExaminee(QStringLiteral("99")); // the file changed: a refresh must read
    // The profile changed too, so the print must read it.
    QVERIFY(QSqlQuery(Database::connection(Database::File::Theme)).exec(QStringLiteral("UPDATE Theme SET T1 = 'x'")));
    Dialogs::takeLog();
    {
        ExclusiveLock lock(way == QLatin1String("print") ? AppPaths::themeDatabase() : AppPaths::examineeDatabase());
        if (way == QLatin1String("review")) {
            child<QPushButton>(m_window, "Command5")->click();
        } else if (way == QLatin1String("print")) {
            child<QPushButton>(m_window, "Command3")->click();
        } else {
            child<QPushButton>(m_window, "Command1")->click();
            child<QLineEdit>(m_window, "Text3")->setText(QStringLiteral("1"));
            Dialogs::setNextAnswer(QMessageBox::No);
            child<QPushButton>(m_window, "Command2")->click();
        }
    }
    QStringList errors, questions;
    for (const Dialogs::Shown &shown : Dialogs::takeLog())
        (shown.icon == Dialogs::Icon::Warning ? errors : questions) << shown.text;
    QCOMPARE(errors, QStringList { DataTexts::locked });
    // Nothing is asked about, let alone deleted, while its answers are unread.
    QCOMPARE(questions, QStringList());
    QCOMPARE(stored("IDE", QStringLiteral("1")), 1);
    QVERIFY(!openPreview()); // nothing printed from an unread profile
    child<QPushButton>(m_window, "Command5")->click();
    QCOMPARE(gridCodes(*m_window).size(), 7);
}

// Contact lines stored after the window opened are on the report: the
// clinic block is built from the profile as stored when the report is made.
void TestRecordsWindow::printTakesTheStoredProfile()
{
    m_clinic.summary = QStringLiteral("old@clinic.example\r\n");
    QSqlQuery q(Database::connection(Database::File::Theme));
    QVERIFY(q.exec(QStringLiteral("UPDATE Theme SET Name = 'کلينيک نو', T1 = 'new@clinic.example', T6 = '021-7777'")));
    child<QPushButton>(m_window, "Command3")->click();
    ReportPreview *preview = openPreview();
    QVERIFY(preview);
    const QString texts
        = RecordingPaintDevice::record(preview->report())->textsIn(QRectF(-1e6, -1e6, 2e6, 2e6)).join('|');
    QVERIFY2(texts.contains(QStringLiteral("new@clinic.example")), qPrintable(texts));
    QVERIFY(texts.contains(QStringLiteral("021-7777")));
    QVERIFY(texts.contains(QStringLiteral("کلينيک نو")));
    QVERIFY(!texts.contains(QStringLiteral("old@clinic.example")));
}

QTEST_MAIN(TestRecordsWindow)
#include "tst_recordswindow.moc"
