#include "common/Dialogs.h"
#include "data/AppPaths.h"
#include "data/Schema.h"
#include "test/content/ContentPack.h"
#include "test/content/OptionRules.h"
#include "test/content/PackCheck.h"
#include "test/content/PackInstall.h"
#include "test/content/TestContent.h"
#include "test/contentwindow/ContentWindow.h"
#include "test/contentwindow/OptionCanvas.h"
#include "tests/common/Children.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

using Gesture = std::function<void(OptionCanvas *)>;

QPoint centre(OptionCanvas *canvas, int option)
{
    return canvas->optionRect(option).center();
}

void drag(OptionCanvas *canvas, const QPoint &from, const QPoint &to)
{
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    // In steps, as a hand moves.
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(canvas, from + (to - from) * i / 4);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
}

QColor background(QTableWidget *grid, int raw, int column)
{
    return grid->item(raw - 5, column - 1)->background().color();
}

} // namespace

class TestContentWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTheContentInUse();
    void mouseEditsSnapToTheRules_data();
    void mouseEditsSnapToTheRules();
    void arrowsMoveAndResizeByOnePixel();
    void clickingAnOptionSetsTheKey();
    void pictureIsFittedWithASharpCopy();
    void normsFaultsShowOnTheirCells_data();
    void normsFaultsShowOnTheirCells();
    void pastedCellsFillFromTheCurrentCell();
    void savedPackInstallsAndBundledComesBack();

private:
    QTemporaryDir *m_dir = nullptr;
    ContentWindow *m_window = nullptr;
};

void TestContentWindow::init()
{
    Dialogs::setTestMode(true);
    Dialogs::takeLog();
    m_dir = new QTemporaryDir;
    AppPaths::setProgramDir(m_dir->path());
    QVERIFY(QFile::link(QStringLiteral(PELORIN_CONTENT_DIR), AppPaths::contentDir()));
    QVector<Schema::NormsRow> norms;
    QString error;
    QVERIFY2(Schema::readNormsCsv(QStringLiteral(PELORIN_CONTENT_DIR "/norms.csv"), &norms, &error)
            && Schema::createExamineeFile(AppPaths::examineeDatabase(), norms, &error),
        qPrintable(error));
    m_window = new ContentWindow;
    QVERIFY2(m_window->load(&error), qPrintable(error));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestContentWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    AppPaths::setProgramDir(QString());
    delete m_dir;
    m_dir = nullptr;
}

void TestContentWindow::showsTheContentInUse()
{
    QVERIFY(child<QLabel>(m_window, "LblInUse")->text().contains(QStringLiteral("مجموعه نمايشي")));
    QCOMPARE(child<OptionCanvas>(m_window, "Canvas")->size(), QSize(633, 421));
    TestContent shipped;
    QVERIFY(shipped.load(QStringLiteral(PELORIN_CONTENT_DIR), nullptr));
    QCOMPARE(m_window->draft().options(1), shipped.items().at(0).options);
    QCOMPARE(child<OptionCanvas>(m_window, "Canvas")->options(), shipped.items().at(0).options);
    child<QSpinBox>(m_window, "SpinItem")->setValue(36);
    QCOMPARE(child<OptionCanvas>(m_window, "Canvas")->options(), shipped.items().at(35).options);
    QCOMPARE(child<OptionCanvas>(m_window, "Canvas")->key(), shipped.items().at(35).key);
}

void TestContentWindow::mouseEditsSnapToTheRules_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<QRect>("expected"); // twips; empty: only the rules are checked

    QTest::newRow("option 2 dragged onto option 1")
        << 1 << Gesture([](OptionCanvas *c) { drag(c, centre(c, 1), centre(c, 0)); }) << QRect();
    QTest::newRow("option 1 dragged far down")
        << 0 << Gesture([](OptionCanvas *c) { drag(c, centre(c, 0), centre(c, 0) + QPoint(0, 200)); }) << QRect();
    QTest::newRow("option 4 dragged above the picture's rows")
        << 3 << Gesture([](OptionCanvas *c) { drag(c, centre(c, 3), QPoint(centre(c, 3).x(), 5)); }) << QRect();
    QTest::newRow("option 3 widened past the picture") << 2 << Gesture([](OptionCanvas *c) {
        const QPoint corner = c->optionRect(2).bottomRight();
        drag(c, corner, corner + QPoint(150, 0));
    }) << QRect();
    QTest::newRow("option 6 drawn tiny in a free place") << 5 << Gesture([](OptionCanvas *c) {
        QTest::mouseClick(c, Qt::LeftButton, {}, centre(c, 5)); // select it
        drag(c, QPoint(500, 20), QPoint(510, 30));
    }) << QRect();
    // Item 1's options 1 and 2 have tops 3780 and 3720; 6 px down, option 2
    // stands 2 px from option 1's top and lines up with it.
    QTest::newRow("a top close to a neighbour's lines up")
        << 1 << Gesture([](OptionCanvas *c) { drag(c, centre(c, 1), centre(c, 1) + QPoint(0, 6)); })
        << QRect(3480, 3780, 2595, 975);
}

void TestContentWindow::mouseEditsSnapToTheRules()
{
    QFETCH(int, option);
    QFETCH(Gesture, gesture);
    QFETCH(QRect, expected);
    OptionCanvas *canvas = child<OptionCanvas>(m_window, "Canvas");
    const std::array<QRect, 6> before = canvas->options();
    gesture(canvas);
    QCOMPARE(canvas->selected(), option);
    const std::array<QRect, 6> after = canvas->options();
    QCOMPARE(TestContent::optionsFault(after), QString());
    for (int k = 0; k < 6; ++k) {
        if (k != option)
            QCOMPARE(after[size_t(k)], before[size_t(k)]);
        QCOMPARE(after[size_t(k)].x() % 15, 0); // on whole pixels
    }
    QVERIFY(after[size_t(option)] != before[size_t(option)]);
    if (!expected.isEmpty())
        QCOMPARE(after[size_t(option)], expected);
    // The draft follows the canvas.
    QCOMPARE(m_window->draft().options(1), after);
}

void TestContentWindow::arrowsMoveAndResizeByOnePixel()
{
    OptionCanvas *canvas = child<OptionCanvas>(m_window, "Canvas");
    child<QSpinBox>(m_window, "SpinItem")->setValue(36);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, centre(canvas, 4));
    QCOMPARE(canvas->selected(), 4);
    const QRect start = canvas->options()[4];
    QTest::keyClick(canvas, Qt::Key_Down);
    QCOMPARE(canvas->options()[4], start.translated(0, 15));
    QTest::keyClick(canvas, Qt::Key_Up);
    QTest::keyClick(canvas, Qt::Key_Left);
    QCOMPARE(canvas->options()[4], start.translated(-15, 0));
    QTest::keyClick(canvas, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(canvas->options()[4], QRect(start.x() - 15, start.y(), start.width() + 15, start.height()));
    QTest::keyClick(canvas, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(canvas->options()[4].height(), start.height() - 15);
    // A step past a rule is held at the rule: the height stays within 795..975.
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(canvas, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(canvas->options()[4].height(), OptionRules::HeightMax - OptionRules::HeightMax % 15);
    QCOMPARE(TestContent::optionsFault(canvas->options()), QString());
    QCOMPARE(m_window->draft().options(36), canvas->options());
    QVERIFY(child<QLabel>(m_window, "LblOption")->text().contains(QStringLiteral("گزينه 5")));
}

void TestContentWindow::clickingAnOptionSetsTheKey()
{
    OptionCanvas *canvas = child<OptionCanvas>(m_window, "Canvas");
    const int before = m_window->draft().key(1);
    const int chosen = before == 5 ? 6 : 5;
    // A plain click selects and leaves the key.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, centre(canvas, chosen - 1));
    QCOMPARE(m_window->draft().key(1), before);
    QTest::mouseClick(child<QPushButton>(m_window, "CmdKey"), Qt::LeftButton);
    QVERIFY(child<QPushButton>(m_window, "CmdKey")->isChecked());
    QTest::mouseClick(canvas, Qt::LeftButton, {}, centre(canvas, chosen - 1));
    QCOMPARE(m_window->draft().key(1), chosen);
    QCOMPARE(canvas->key(), chosen);
    QVERIFY(!child<QPushButton>(m_window, "CmdKey")->isChecked());
    QVERIFY(child<QLabel>(m_window, "LblKey")->text().contains(QString::number(chosen)));
    // A double click sets it at once; the item keeps it across a change of item.
    QTest::mouseDClick(canvas, Qt::LeftButton, {}, centre(canvas, 1));
    QCOMPARE(m_window->draft().key(1), 2);
    child<QSpinBox>(m_window, "SpinItem")->setValue(2);
    child<QSpinBox>(m_window, "SpinItem")->setValue(1);
    QCOMPARE(canvas->key(), 2);
}

void TestContentWindow::pictureIsFittedWithASharpCopy()
{
    const QString large = m_dir->filePath("large.jpg");
    const QString small = m_dir->filePath("small.png");
    QImage picture(2000, 1200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(large));
    QVERIFY(picture.scaled(400, 240).save(small));

    Dialogs::setNextFile(large);
    QTest::mouseClick(child<QPushButton>(m_window, "CmdPicture"), Qt::LeftButton);
    QCOMPARE(m_window->draft().picture(1).size(), QSize(633, 421));
    QVERIFY(m_window->draft().hasSharpCopy(1));
    const QImage sharp = QImage::fromData(m_window->draft().pack().file("items/item01@2x.png"));
    QCOMPARE(sharp.size(), QSize(1266, 842));
    // In proportion: the wider source leaves white above and below.
    QCOMPARE(m_window->draft().picture(1).pixelColor(316, 2), QColor(Qt::white));
    const QColor middle = m_window->draft().picture(1).pixelColor(316, 210); // from a JPEG: near dark green
    QVERIFY2(middle.red() < 16 && qAbs(middle.green() - 128) < 16 && middle.blue() < 16, qPrintable(middle.name()));

    child<QSpinBox>(m_window, "SpinItem")->setValue(2);
    Dialogs::setNextFile(small);
    QTest::mouseClick(child<QPushButton>(m_window, "CmdPicture"), Qt::LeftButton);
    QCOMPARE(m_window->draft().picture(2).size(), QSize(633, 421));
    QVERIFY(!m_window->draft().hasSharpCopy(2));
    QVERIFY(child<QLabel>(m_window, "LblSharp")->text().contains(QStringLiteral("ندارد")));

    Dialogs::setNextFile(m_dir->filePath("none.png"));
    QTest::mouseClick(child<QPushButton>(m_window, "CmdPicture"), Qt::LeftButton);
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QVERIFY(!log.isEmpty() && log.last().kind == QLatin1String("message"));
    QVERIFY(log.last().text.contains(QStringLiteral("none.png")));
}

void TestContentWindow::normsFaultsShowOnTheirCells_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("column"); // 1..12: IQ 5..10, percentile 5..10
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("error");
    QTest::addColumn<QString>("fault");

    QTest::newRow("not a number") << 15 << 1 << "x" << true << "«x» عدد نيست";
    QTest::newRow("empty cell") << 20 << 9 << "" << true << "«» عدد نيست";
    QTest::newRow("IQ out of range") << 36 << 3 << "170" << true << "170 خارج از 20 تا 160";
    QTest::newRow("falling IQ") << 15 << 2 << "40" << true << "در نمره خام 14 کمتر است";
    QTest::newRow("IQ rising with age") << 5 << 2 << "99" << false << "هوشبهر 99 از";
}

void TestContentWindow::normsFaultsShowOnTheirCells()
{
    QFETCH(int, raw);
    QFETCH(int, column);
    QFETCH(QString, value);
    QFETCH(bool, error);
    QFETCH(QString, fault);
    QTableWidget *grid = child<QTableWidget>(m_window, "GridNorms");
    child<QTabWidget>(m_window, "Tabs")->setCurrentIndex(1);
    QCOMPARE(grid->rowCount(), 32);
    QCOMPARE(grid->item(0, 0)->background().style(), Qt::NoBrush); // the shipped norms pass
    grid->item(raw - 5, column - 1)->setText(value);
    QTableWidgetItem *cell = grid->item(raw - 5, column - 1);
    QVERIFY(cell->background().style() != Qt::NoBrush);
    QCOMPARE(background(grid, raw, column), error ? QColor(240, 150, 140) : QColor(250, 225, 130));
    QVERIFY2(cell->toolTip().contains(fault), qPrintable(cell->toolTip()));
    QVERIFY2(cell->toolTip().contains(QStringLiteral("نمره خام %1").arg(raw)), qPrintable(cell->toolTip()));
    // A cell the edit does not touch stays clear, and the list names the fault.
    QCOMPARE(grid->item((raw - 5 + 2) % 32, column - 1)->background().style(), Qt::NoBrush);
    const QList<QListWidgetItem *> listed
        = child<QListWidget>(m_window, "ListFaults")->findItems(fault, Qt::MatchContains);
    QCOMPARE(listed.size(), 1);
    // The draft's norms carry the edit.
    QCOMPARE(m_window->draft().norms().at(raw - 4).at(column), value);
}

void TestContentWindow::pastedCellsFillFromTheCurrentCell()
{
    QTableWidget *grid = child<QTableWidget>(m_window, "GridNorms");
    child<QTabWidget>(m_window, "Tabs")->setCurrentIndex(1);
    grid->setCurrentCell(2, 6); // raw score 7, percentile at age 5
    // As a spreadsheet copies: tabs between cells, CR LF between rows.
    m_window->pasteCells(QStringLiteral("2\t3\r\n4\t5\r\n"));
    QCOMPARE(grid->item(2, 6)->text(), QStringLiteral("2"));
    QCOMPARE(grid->item(2, 7)->text(), QStringLiteral("3"));
    QCOMPARE(grid->item(3, 6)->text(), QStringLiteral("4"));
    QCOMPARE(grid->item(3, 7)->text(), QStringLiteral("5"));
    QCOMPARE(m_window->draft().norms().at(3).at(7), QStringLiteral("2"));

    // A whole table with its header replaces the grid, and Ctrl+V pastes.
    QFile csv(QStringLiteral(PELORIN_CONTENT_DIR "/norms.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QString whole = QString::fromUtf8(csv.readAll()).replace(QLatin1Char(','), QLatin1Char('\t'));
    whole.replace(QStringLiteral("\n36\t"), QStringLiteral("\n36\tabc\t"));
    QApplication::clipboard()->setText(whole);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(grid->item(2, 6)->text(), m_window->draft().norms().at(3).at(7));
    QCOMPARE(grid->item(31, 0)->text(), QStringLiteral("abc"));
    QVERIFY(grid->item(31, 0)->toolTip().contains(QStringLiteral("«abc» عدد نيست")));
}

void TestContentWindow::savedPackInstallsAndBundledComesBack()
{
    child<OptionCanvas>(m_window, "Canvas")->select(0);
    QTest::keyClick(child<OptionCanvas>(m_window, "Canvas"), Qt::Key_Right);
    const std::array<QRect, 6> edited = child<OptionCanvas>(m_window, "Canvas")->options();
    const QString path = m_dir->filePath("clinic.pelorin-content");
    Dialogs::setNextInput(QStringLiteral("Clinic set"));
    Dialogs::setNextInput(QStringLiteral("1.0"));
    Dialogs::setNextFile(path);
    Dialogs::setNextAnswer(QMessageBox::Ok);
    QTest::mouseClick(child<QPushButton>(m_window, "CmdSavePack"), Qt::LeftButton);
    ContentPack saved;
    QString error;
    QVERIFY2(saved.loadArchive(path, &error), qPrintable(error));
    QCOMPARE(saved.name(), QStringLiteral("Clinic set"));
    QCOMPARE(saved.contentVersion(), QStringLiteral("1.0"));
    QVERIFY(!PackCheck::hasErrors(PackCheck::check(saved)));
    const QList<Dialogs::Shown> log = Dialogs::takeLog();
    QVERIFY(log.last().text.contains(saved.shortFingerprint()));

    Dialogs::setNextFile(path);
    Dialogs::setNextAnswer(QMessageBox::Ok);
    QTest::mouseClick(child<QPushButton>(m_window, "CmdInstallPack"), Qt::LeftButton);
    QVERIFY2(child<QLabel>(m_window, "LblInUse")->text().contains(saved.shortFingerprint()),
        qPrintable(child<QLabel>(m_window, "LblInUse")->text()));
    QCOMPARE(PackInstall::activePackDir(AppPaths::dataDir()).isEmpty(), false);
    QCOMPARE(m_window->draft().options(1), edited); // the editor shows the pack now in use
    QVERIFY(QDir(AppPaths::backupDir()).entryList(QDir::Files).size() == 1);

    // Going back asks first; No keeps the pack.
    Dialogs::setNextAnswer(QMessageBox::No);
    QTest::mouseClick(child<QPushButton>(m_window, "CmdBundled"), Qt::LeftButton);
    QVERIFY(!PackInstall::activePackDir(AppPaths::dataDir()).isEmpty());
    Dialogs::setNextAnswer(QMessageBox::Yes);
    Dialogs::setNextAnswer(QMessageBox::Ok);
    QTest::mouseClick(child<QPushButton>(m_window, "CmdBundled"), Qt::LeftButton);
    QVERIFY(PackInstall::activePackDir(AppPaths::dataDir()).isEmpty());
    QVERIFY(child<QLabel>(m_window, "LblInUse")->text().contains(QStringLiteral("مجموعه نمايشي")));
    QVERIFY(m_window->draft().options(1) != edited);
    QCOMPARE(QDir(AppPaths::backupDir()).entryList(QDir::Files).size(), 2);
}

QTEST_MAIN(TestContentWindow)
#include "tst_contentwindow.moc"
