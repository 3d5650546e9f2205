// Screenshots for docs/: the main window and the records window with 50
// examinees (full list, a search, the edit panel, the delete panel), and the
// content window (an item with its options, the norms showing faults).
// With "test" after the folder: the test window in child mode on a
// 1600x1000 screen and the scoring sheet's item analysis page instead.
//
//   xvfb-run -a docshots <docs folder>
//   xvfb-run -a -s "-screen 0 1600x1000x24" docshots <docs folder> test

#include "BenchFolder.h"
#include "data/RecordSource.h"
#include "mainwindow/CreditsBox.h"
#include "mainwindow/MainWindow.h"
#include "records/window/RecordsWindow.h"
#include "test/content/TestContent.h"
#include "test/contentwindow/ContentWindow.h"
#include "test/contentwindow/OptionCanvas.h"
#include "test/scoring/ClickGuard.h"
#include "test/sheet/ScoringSheet.h"
#include "test/window/HotSpot.h"
#include "test/window/TestWindow.h"
#include "tests/common/Children.h"
#include "ui/ClinicValues.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>

namespace {

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

void shoot(QWidget *w, const QString &path)
{
    settle();
    QImage image = w->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    if (!w->mask().isEmpty()) {
        // What lies outside a shaped window is not part of it.
        QImage shaped(image.size(), QImage::Format_ARGB32);
        shaped.fill(Qt::transparent);
        QPainter p(&shaped);
        p.setClipRegion(w->mask());
        p.drawImage(0, 0, image);
        p.end();
        image = shaped;
    }
    image.save(path);
    std::printf("%s\n", qPrintable(path));
}

// The pages of \a report as pictures at \a dpi, white paper.
QVector<QImage> pagePictures(const BandedReport &report, int dpi)
{
    const QSizeF mm = report.pageLayout.paintRect(QPageLayout::Millimeter).size();
    const QSize px(qRound(mm.width() / 25.4 * dpi), qRound(mm.height() / 25.4 * dpi));
    QVector<QImage> pages;
    auto blank = [&] {
        QImage page(px, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(qRound(dpi / 0.0254));
        page.setDotsPerMeterY(qRound(dpi / 0.0254));
        pages.append(page);
        return &pages.last();
    };
    // Enough room that the pictures never move while the painter is on one.
    pages.reserve(8);
    QPainter painter(blank());
    painter.setRenderHint(QPainter::Antialiasing);
    report.paint(painter, [&] {
        painter.end();
        return painter.begin(blank());
    });
    painter.end();
    return pages;
}

// A plausible seven-year-old: the easy items right and quick, the hard ones
// slower, some wrong, three answers changed after going back.
ScoringSheet sampleSheet()
{
    ScoringSheet s;
    s.code = QStringLiteral("1024");
    s.firstName = QStringLiteral("سارا");
    s.lastName = QStringLiteral("احمدي");
    s.testDate = QStringLiteral("1405/09/20");
    s.clinicName = QStringLiteral("كلينيك روانشناسي كودك نمونه");
    s.clinicAddress = QStringLiteral("تهران، خيابان وليعصر، پلاك 12");
    s.clinic.summary = QStringLiteral("info@clinic.example\r\nwww.clinic.example\r\n021-5555-1234\r\n");
    TestContent content;
    QString error;
    content.load(QStringLiteral(PELORIN_CONTENT_DIR), &error);
    const QVector<int> keyList = content.answerKey();
    AnswerKey key {};
    for (int i = 0; i < 36; ++i)
        key[size_t(i)] = keyList.value(i, 1);
    const QSet<int> wrong = { 14, 21, 25, 28, 30, 31, 33, 34, 35, 36 };
    for (int item = 1; item <= 36; ++item) {
        const int right = key[size_t(item - 1)];
        s.answers[size_t(item - 1)] = QString::number(wrong.contains(item) ? right % 6 + 1 : right);
    }
    QVector<AnswerLog::Row> log;
    QDateTime at(QDate(2026, 12, 11), QTime(9, 30));
    int seq = 0;
    auto click = [&](int item, int choice, int latencyMs) {
        at = at.addMSecs(latencyMs + 400);
        log.append({ ++seq, { item, choice, latencyMs, at } });
    };
    for (int item = 1; item <= 36; ++item) {
        const int latency = 2500 + item * item * 18 + (item * 7919) % 2300;
        const int final = s.answers[size_t(item - 1)].toInt();
        if (item == 9 || item == 22 || item == 27)
            click(item, final % 6 + 1, latency / 2); // changed after going back
        click(item, final, latency);
    }
    s.analysis = AnalyseItems(s.answers, key, log);
    return s;
}

// A press and release on the option, as the child's click.
void clickOption(HotSpot *spot)
{
    const QPointF at = QRectF(spot->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, spot->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, at, spot->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(spot, &press);
    QCoreApplication::sendEvent(spot, &release);
}

int testShots(const QDir &docs)
{
    const QVector<QImage> pages = pagePictures(BuildScoringSheet(sampleSheet()), 110);
    if (pages.size() < 2)
        return 1;
    pages[1].save(docs.filePath(QStringLiteral("item_analysis.png")));
    std::printf("%s\n", qPrintable(docs.filePath(QStringLiteral("item_analysis.png"))));

    // The test window in child mode, seven items answered, on the whole screen.
    BenchFolder folder(50);
    QFile::link(QStringLiteral(PELORIN_CONTENT_DIR), AppPaths::contentDir());
    QString error;
    if (!Database::open(Database::File::Theme, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QSqlDatabase examinees = Database::connection(Database::File::Examinee);
    QSqlQuery q(examinees);
    QStringList empty;
    for (int i = 1; i <= 36; ++i)
        empty << Schema::quoted(QString::number(i)) + QStringLiteral(" = NULL");
    q.exec(QStringLiteral("UPDATE Answer SET %1 WHERE Code = '50'").arg(empty.join(QLatin1Char(','))));
    q.exec(QStringLiteral("UPDATE IDE SET FName = 'سارا', LName = 'احمدي' WHERE Code = '50'"));
    QSqlQuery t(Database::connection(Database::File::Theme));
    t.exec(QStringLiteral("UPDATE Theme SET ChildMode = 1"));
    QWidget main;
    TestWindow window(&main, nullptr);
    if (!window.load(QStringLiteral("50"), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    window.setExamineeCode(QStringLiteral("50"));
    window.show();
    window.activate();
    settle();
    ClickGuard::setInterval(0);
    window.StartTest();
    const int chosen[] = { 3, 5, 1, 6, 2, 4, 2 };
    for (int item = 1; item <= 7; ++item)
        clickOption(child<HotSpot>(&window, QStringLiteral("Lbl%1_%2").arg(chosen[item - 1]).arg(item)));
    settle();
    QThread::msleep(300);
    settle();
    const QString path = docs.filePath(QStringLiteral("test_window_child_mode.png"));
    QGuiApplication::primaryScreen()->grabWindow(0).save(path);
    std::printf("%s\n", qPrintable(path));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir docs(argc >= 2 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    if (argc >= 3 && qstrcmp(argv[2], "test") == 0)
        return testShots(docs);
    BenchFolder folder(50);
    // The pictures come from the shipped content.
    QDir().mkpath(QDir(AppPaths::programDir()).filePath(QStringLiteral("content")));
    const QString content = QStringLiteral(PELORIN_CONTENT_DIR);
    AppPaths::setProgramDir(folder.dir.path());
    QFile::link(content + QStringLiteral("/art"), AppPaths::contentDir() + QStringLiteral("/art"));

    MainWindow main;
    QString error;
    if (!main.load(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    main.show();
    for (int i = 0; i < 400; ++i)
        child<CreditsBox>(&main, "Picture1")->tick();
    shoot(&main, docs.filePath(QStringLiteral("main_window.png")));

    ClinicValues clinic;
    RecordsWindow records(&main, &clinic);
    records.load(&error);
    records.show();
    shoot(&records, docs.filePath(QStringLiteral("records_full.png")));
    child<QComboBox>(&records, "DataCombo1")
        ->setEditText(child<RecordSource>(&records, "Adodc2")
                          ->value(9, child<RecordSource>(&records, "Adodc2")->fieldIndex(QStringLiteral("LName"))));
    shoot(&records, docs.filePath(QStringLiteral("records_search.png")));
    records.review();
    child<QTableView>(&records, "DataGrid1")->selectRow(3);
    child<RecordSource>(&records, "Adodc2")->setCurrentRow(3);
    records.showEditPanel();
    shoot(&records, docs.filePath(QStringLiteral("records_edit.png")));
    records.showDeletePanel();
    child<QLineEdit>(&records, "Text3")->setText(QStringLiteral("17"));
    shoot(&records, docs.filePath(QStringLiteral("records_delete.png")));

    // The content window over the whole shipped content.
    QTemporaryDir materials;
    AppPaths::setProgramDir(materials.path());
    QFile::link(content, AppPaths::contentDir());
    ContentWindow window;
    if (!window.load(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    window.show();
    auto *canvas = child<OptionCanvas>(&window, "Canvas");
    canvas->select(1);
    canvas->setFocus();
    shoot(&window, docs.filePath(QStringLiteral("content_window_item.png")));
    child<QTabWidget>(&window, "Tabs")->setCurrentIndex(1);
    auto *grid = child<QTableWidget>(&window, "GridNorms");
    grid->item(10, 1)->setText(QStringLiteral("x")); // raw score 15, age 6
    grid->item(3, 0)->setText(QStringLiteral("40")); // raw score 8, age 5: falls
    grid->clearSelection(); // the marks show, not the selection
    shoot(&window, docs.filePath(QStringLiteral("content_window_norms.png")));
    return 0;
}
