#include "Children.h"
#include "ProgramFolder.h"
#include "calendar/Clock.h"
#include "common/Dialogs.h"
#include "records/chart/ChartWindow.h"
#include "records/chart/ChartWindowTexts.h"
#include "records/chart/IqChart.h"
#include "records/chart/IqChartTexts.h"
#include "records/window/RecordsWindow.h"
#include "report/IqCurveTexts.h"
#include "report/NormalCurveChart.h"
#include "report/RecordingPaintDevice.h"
#include "test/scoring/ResultTexts.h"
#include "ui/ClinicValues.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>

#include <cmath>

using namespace IqCurve;

namespace {

struct Row
{
    QString code, first, last, group, iq;
};

void addRows(const QVector<Row> &rows)
{
    RecordSource ide, answer;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    QVERIFY(answer.open(Database::File::Examinee, QStringLiteral("Answer")));
    for (const Row &r : rows) {
        ide.addNew();
        ide.setField(QStringLiteral("Code"), r.code);
        ide.setField(QStringLiteral("FName"), r.first);
        ide.setField(QStringLiteral("LName"), r.last);
        ide.setField(QStringLiteral("Group"), r.group);
        ide.setField(QStringLiteral("Sen"), QStringLiteral("8"));
        ide.setField(QStringLiteral("Hooshbahr"), r.iq);
        QVERIFY(ide.update());
        answer.addNew();
        answer.setField(QStringLiteral("Code"), r.code);
        QVERIFY(answer.update());
    }
}

// Rows of IQ texts, coded 1, 2, 3 ... in group A.
void addIqs(const QStringList &iqs)
{
    QVector<Row> rows;
    for (int i = 0; i < iqs.size(); ++i)
        rows.append(
            { QString::number(i + 1), QStringLiteral("علي"), QStringLiteral("احمدي"), QStringLiteral("A"), iqs[i] });
    addRows(rows);
}

// The texts drawn on one line, the runs joined in the order drawn. Runs come
// in visual order, so lines are compared by their letters, blanks left out.
QString letters(QString text)
{
    text.remove(QLatin1Char(' '));
    std::sort(text.begin(), text.end());
    return text;
}

QStringList drawnLines(const QVector<DrawnItem> &items)
{
    QVector<DrawnItem> texts;
    for (const DrawnItem &i : items) {
        if (i.kind == DrawnItem::Kind::Text)
            texts << i;
    }
    std::sort(texts.begin(), texts.end(),
        [](const DrawnItem &a, const DrawnItem &b) { return a.rect.center().y() < b.rect.center().y(); });
    QStringList lines;
    double lastY = -1e9;
    for (const DrawnItem &t : std::as_const(texts)) {
        if (lines.isEmpty() || t.rect.center().y() - lastY > t.rect.height() * 0.3)
            lines << QString();
        lines.last() += t.text;
        lastY = t.rect.center().y();
    }
    for (QString &l : lines)
        l = letters(l);
    return lines;
}

bool drawsLine(const QVector<DrawnItem> &items, const QString &text)
{
    return drawnLines(items).contains(letters(text));
}

bool drawsBar(const QVector<DrawnItem> &items, const QRectF &bar)
{
    for (const DrawnItem &i : items) {
        if (i.kind == DrawnItem::Kind::Shape && std::abs(i.rect.left() - bar.left()) < 2
            && std::abs(i.rect.right() - bar.right()) < 2 && std::abs(i.rect.top() - bar.top()) < 2
            && std::abs(i.rect.bottom() - bar.bottom()) < 2)
            return true;
    }
    return false;
}

ChartWindow *openChart()
{
    ChartWindow *found = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *c = qobject_cast<ChartWindow *>(w); c && c->isVisible())
            found = c;
    }
    return found;
}

QByteArray head(const QString &path, int n)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

QStringList kinds()
{
    QStringList k;
    for (const Dialogs::Shown &s : Dialogs::takeLog())
        k << s.kind + QLatin1Char(':') + s.text;
    return k;
}

const QRectF kPage(0, 0, 15000, 9000); // twips on the recording device

} // namespace

class TestChartWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void chartOfRows_data();
    void chartOfRows();
    void filteredWindowChartsTheShownRows_data();
    void filteredWindowChartsTheShownRows();
    void chartButtonLeavesRoom();
    void saves_data();
    void saves();
    void saveFaults_data();
    void saveFaults();
    void prints_data();
    void prints();
    void screenshot();

private:
    ProgramFolder *m_folder = nullptr;
    QTemporaryDir *m_out = nullptr;
};

void TestChartWindow::init()
{
    Dialogs::setTestMode(true);
    Clock::setFixed(QDateTime(QDate(2022, 10, 20), QTime(10, 0)));
    m_folder = new ProgramFolder;
    QVERIFY(m_folder->openAll());
    m_out = new QTemporaryDir;
}

void TestChartWindow::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<ChartWindow *>(w))
            delete w;
    }
    delete m_out;
    delete m_folder;
    Clock::setFixed(QDateTime());
}

void TestChartWindow::chartOfRows_data()
{
    QTest::addColumn<QStringList>("iqs");
    QTest::addColumn<QVector<int>>("filled"); // bin, count, bin, count ...
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("leftOut");
    QTest::addColumn<QString>("summary");

    const QString invalid = ResultTexts::invalid;
    // Mean 100, squares 2378 over 7: SD 18.43.
    QTest::newRow("mixed") << QStringList { "70", "85", "92", "100", invalid, "100", "108", "", "115", "130" }
                           << QVector<int> { 6, 1, 9, 1, 10, 1, 12, 2, 13, 1, 15, 1, 18, 1 } << 8 << 2
                           << IqCurveTexts::summary.arg(8).arg("100.0", "18.4");
    QTest::newRow("bin edges") << QStringList { "44", "45", "159", "160" } << QVector<int> { 0, 1, 1, 1, 23, 2 } << 4
                               << 0 << IqCurveTexts::summary.arg(4).arg("102.0", "66.4");
    QTest::newRow("one value: no spread") << QStringList { "112", "" } << QVector<int> { 14, 1 } << 1 << 1
                                          << IqCurveTexts::summary.arg(1).arg("112.0", "—");
    QTest::newRow("no valid IQ") << QStringList { invalid, "", invalid } << QVector<int>() << 0 << 3
                                 << IqCurveTexts::noIq;
    QTest::newRow("no rows") << QStringList() << QVector<int>() << 0 << 0 << IqCurveTexts::noIq;
}

// A real IDE table read through a record source, as the records window
// hands it over, and the page drawn onto the recording device.
void TestChartWindow::chartOfRows()
{
    QFETCH(QStringList, iqs);
    QFETCH(QVector<int>, filled);
    QFETCH(int, count);
    QFETCH(int, leftOut);
    QFETCH(QString, summary);
    addIqs(iqs);
    RecordSource ide;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    const IqChartPage page = ChartOfShownRows(ide, QStringLiteral("مرکز مشاوره آرامش"), IqChartTexts::allRows);

    QVERIFY(page.picture.histogram);
    const Histogram &h = *page.picture.histogram;
    QVector<int> bins(BinCount, 0);
    for (int i = 0; i < filled.size(); i += 2)
        bins[filled[i]] = filled[i + 1];
    QCOMPARE(h.bins, bins);
    QCOMPARE(h.count, count);
    QCOMPARE(page.leftOut, leftOut);
    QCOMPARE(page.picture.summaryText, summary);

    RecordingPaintDevice device(kPage.size().toSize());
    QPainter p(&device);
    PaintIqChartPage(p, kPage, page);
    p.end();
    const QVector<DrawnItem> &items = device.items();
    const Scale scale(
        NormalCurveChart::plotRect(IqChartArea(kPage), kIqChartTextScale, NormalCurveChart::BandNames::Below));
    const int most = count > 0 ? *std::max_element(bins.cbegin(), bins.cend()) : 0;
    int bars = 0;
    for (int bin = 0; bin < BinCount; ++bin) {
        if (bins[bin] > 0) {
            QVERIFY2(drawsBar(items, scale.binRect(bin, bins[bin], most)), qPrintable(QString::number(bin)));
            ++bars;
        }
    }
    QCOMPARE(bars, filled.size() / 2);
    // Each band named whole under its own span, clear of the bars.
    const QRectF names = NormalCurveChart::bandNamesRect(IqChartArea(kPage), kIqChartTextScale);
    QVERIFY(names.top() > scale.plot().bottom());
    for (const Band &band : page.picture.bands) {
        const QRectF span = scale.bandRect(band);
        if (span.isEmpty())
            continue;
        const QString drawn = device.textsIn(QRectF(span.left(), names.top(), span.width(), names.height())).join("");
        QCOMPARE(letters(drawn), letters(band.label));
    }
    QVERIFY2(drawsLine(items, summary), qPrintable(drawnLines(items).join('\n')));
    QVERIFY(drawsLine(items, page.title));
    QVERIFY(drawsLine(items, QStringLiteral("مرکز مشاوره آرامش") + IqChartTexts::separator + IqChartTexts::allRows));
    // The rows left out are said; with no rows at all, only the date.
    const QString date = IqChartTexts::date.arg("1401/07/28");
    const QString said = leftOut > 0 ? IqChartTexts::leftOut.arg(leftOut) + IqChartTexts::separator
        : iqs.isEmpty()              ? QString()
                                     : IqChartTexts::noneLeftOut + IqChartTexts::separator;
    QVERIFY(drawsLine(items, said + date));
}

void TestChartWindow::filteredWindowChartsTheShownRows_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("leftOut");
    QTest::addColumn<QString>("mean");
    QTest::addColumn<QString>("which");
    QTest::newRow("group A") << "Combo3"
                             << "A" << 2 << 1 << "95.0" << IqChartTexts::byGroup.arg("A");
    QTest::newRow("last name") << "DataCombo1" << QStringLiteral("رضايي") << 2 << 0 << "120.0"
                               << IqChartTexts::byLastName.arg(QStringLiteral("رضايي"));
    QTest::newRow("first name") << "DataCombo6" << QStringLiteral("سارا") << 1 << 0 << "80.0"
                                << IqChartTexts::byFirstName.arg(QStringLiteral("سارا"));
    QTest::newRow("no match") << "DataCombo1" << QStringLiteral("نيست") << 0 << 0 << QString()
                              << IqChartTexts::byLastName.arg(QStringLiteral("نيست"));
    QTest::newRow("all") << QString() << QString() << 5 << 1 << "102.0" << IqChartTexts::allRows;
}

// The chart counts exactly the rows the grid shows, as the full report lists them.
void TestChartWindow::filteredWindowChartsTheShownRows()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(int, leftOut);
    QFETCH(QString, mean);
    QFETCH(QString, which);
    addRows({ { "1", "علي", "احمدي", "A", "90" }, { "2", "مريم", "رضايي", "B", "110" },
        { "3", "علي", "رضايي", "C", "130" }, { "4", "سارا", "احمدي", "D", "80" }, { "5", "رضا", "کريمي", "A", "100" },
        { "6", "نرگس", "کريمي", "A", ResultTexts::invalid } });
    QWidget main;
    ClinicValues clinic;
    RecordsWindow window(&main, &clinic);
    QString error;
    QVERIFY2(window.load(&error), qPrintable(error));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(window.isListRead());
    if (!box.isEmpty()) {
        auto *combo = child<QComboBox>(&window, box);
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    }
    child<QPushButton>(&window, "CommandChart")->click();
    ChartWindow *chart = openChart();
    QVERIFY(chart);
    QCOMPARE(chart->parentWidget(), &window); // it goes with the records window
    const IqChartPage &page = chart->page();
    QCOMPARE(page.picture.histogram->count, count);
    QCOMPARE(page.leftOut, leftOut);
    if (count > 0)
        QCOMPARE(QString::number(page.picture.histogram->mean, 'f', 1), mean);
    QVERIFY2(page.subtitle.endsWith(which), qPrintable(page.subtitle));
}

// The chart button overlaps no panel and no other button, and the place
// beside it is free for one more.
void TestChartWindow::chartButtonLeavesRoom()
{
    QWidget main;
    ClinicValues clinic;
    RecordsWindow window(&main, &clinic);
    auto *button = child<QPushButton>(&window, "CommandChart");
    QCOMPARE(button->text(), QStringLiteral("نمودار"));
    const QRect chart = button->geometry();
    QVERIFY(window.rect().contains(chart));
    QVERIFY(chart.intersects(
        QRect(0, child<QPushButton>(&window, "Command3")->geometry().bottom() + 1, window.width(), 60)));
    const QRect beside(
        child<QPushButton>(&window, "CommandExport")->geometry().left(), chart.top(), chart.width(), chart.height());
    QVERIFY(!beside.intersects(chart));
    for (QWidget *w : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w == button || w->isWindow())
            continue;
        QVERIFY2(!w->geometry().intersects(chart), qPrintable(w->objectName()));
        QVERIFY2(!w->geometry().intersects(beside), qPrintable(w->objectName()));
    }
}

void TestChartWindow::saves_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("pdf") << "pdf"
                         << "chart.pdf"
                         << "chart.pdf";
    QTest::newRow("pdf, suffix added") << "pdf"
                                       << "chart"
                                       << "chart.pdf";
    QTest::newRow("png") << "png"
                         << "chart.png"
                         << "chart.png";
    QTest::newRow("png, suffix added") << "png"
                                       << "chart"
                                       << "chart.png";
}

void TestChartWindow::saves()
{
    QFETCH(QString, kind);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    addIqs({ "85", "100", "100", "115", ResultTexts::invalid });
    RecordSource ide;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    ChartWindow *chart = ChartWindow::open(nullptr, ChartOfShownRows(ide, QString(), IqChartTexts::allRows));
    Dialogs::setNextFile(m_out->filePath(chosen));
    child<QPushButton>(chart, kind == "pdf" ? "CommandPdf" : "CommandPng")->click();
    const QString path = m_out->filePath(written);
    QCOMPARE(kinds(), (QStringList { "save:", "notice:" + ChartWindowTexts::saved }));
    if (kind == "pdf") {
        QCOMPARE(head(path, 5), QByteArray("%PDF-"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray pdf = f.readAll();
        QVERIFY(pdf.contains("/FontFile")); // the Persian font travels with it
        QVERIFY(!pdf.contains("/Subtype /Image")); // drawn, not a bitmap
        QVERIFY(!pdf.contains("/Subtype/Image"));
    } else {
        const QImage image(path);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), kIqChartPngSize);
        QCOMPARE(head(path, 4), QByteArray("\x89PNG"));
        QCOMPARE(QColor(image.pixel(2, 2)), QColor(Qt::white));
    }
}

void TestChartWindow::saveFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("cancelled") << "cancelled";
    QTest::newRow("existing file kept") << "existing, no";
    QTest::newRow("existing file replaced") << "existing, yes";
    QTest::newRow("folder missing") << "folder missing";
}

void TestChartWindow::saveFaults()
{
    QFETCH(QString, fault);
    addIqs({ "100" });
    RecordSource ide;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    ChartWindow *chart = ChartWindow::open(nullptr, ChartOfShownRows(ide, QString(), IqChartTexts::allRows));
    const QString path = m_out->filePath(fault == "folder missing" ? "gone/chart.png" : "chart.png");
    if (fault.startsWith("existing")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("kept");
        Dialogs::setNextFile(path);
        Dialogs::setNextAnswer(fault.endsWith("yes") ? QMessageBox::Yes : QMessageBox::No);
    } else if (fault == "folder missing") {
        Dialogs::setNextFile(path);
    }
    chart->savePng();
    const QStringList shown = kinds();
    if (fault == "cancelled") {
        QCOMPARE(shown, QStringList { "save:" });
        QVERIFY(QDir(m_out->path()).isEmpty());
    } else if (fault == "existing, no") {
        QCOMPARE(shown, (QStringList { "save:", "message:" + ChartWindowTexts::replace }));
        QCOMPARE(head(path, 10), QByteArray("kept"));
    } else if (fault == "existing, yes") {
        QCOMPARE(shown,
            (QStringList { "save:", "message:" + ChartWindowTexts::replace, "notice:" + ChartWindowTexts::saved }));
        QCOMPARE(QImage(path).size(), kIqChartPngSize);
    } else {
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[1].startsWith("message:" + ChartWindowTexts::saveFailed), qPrintable(shown[1]));
        QVERIFY(!QFile::exists(path));
    }
}

void TestChartWindow::prints_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("printed") << int(QMessageBox::Ok);
    QTest::newRow("cancelled") << int(QMessageBox::Cancel);
}

// The print dialog goes through the dialog seam; the printer prints to a
// file here, as a user may choose in the dialog.
void TestChartWindow::prints()
{
    QFETCH(int, answer);
    addIqs({ "90", "100", "110" });
    RecordSource ide;
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    ChartWindow *chart = ChartWindow::open(nullptr, ChartOfShownRows(ide, QString(), IqChartTexts::allRows));
    QCOMPARE(chart->printer()->pageLayout().orientation(), QPageLayout::Landscape);
    const QString path = m_out->filePath("printed.pdf");
    chart->printer()->setOutputFileName(path);
    Dialogs::setNextAnswer(QMessageBox::StandardButton(answer));
    child<QPushButton>(chart, "CommandPrint")->click();
    QCOMPARE(kinds(), QStringList { "print:" });
    if (answer == QMessageBox::Ok)
        QCOMPARE(head(path, 5), QByteArray("%PDF-"));
    else
        QVERIFY(!QFile::exists(path));
}

// The chart window for docs/, taken when PELORIN_SCREENSHOT_DIR names a
// folder (run under Xvfb with QT_QPA_PLATFORM=xcb for the real look).
void TestChartWindow::screenshot()
{
    const QString out = qEnvironmentVariable("PELORIN_SCREENSHOT_DIR");
    if (out.isEmpty())
        QSKIP("PELORIN_SCREENSHOT_DIR not set");
    const int iqs[] = { 78, 84, 88, 90, 92, 93, 95, 96, 97, 98, 99, 100, 100, 101, 102, 103, 104, 105, 106, 107, 108,
        110, 111, 113, 115, 117, 120, 124, 128, 86, 94, 99, 102, 109, 112, 96, 91, 105, 118, 73 };
    QStringList texts;
    for (int iq : iqs)
        texts << QString::number(iq);
    texts << ResultTexts::invalid << QString();
    ChartWindow *chart = ChartWindow::open(
        nullptr, ChartOfIqTexts(texts, QStringLiteral("مرکز مشاوره کودک آرامش"), IqChartTexts::allRows));
    QVERIFY(QTest::qWaitForWindowExposed(chart));
    QTest::qWait(200);
    QVERIFY(chart->grab().save(out + QStringLiteral("/chart_window.png")));
    QString error;
    QVERIFY2(WriteIqChartPng(chart->page(), out + QStringLiteral("/chart_page.png"), &error), qPrintable(error));
}

QTEST_MAIN(TestChartWindow)
#include "tst_chartwindow.moc"
