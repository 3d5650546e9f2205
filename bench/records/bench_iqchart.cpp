// The IQ chart of the records window's list with 100,000 examinees: the
// chart's page from the shown rows, the chart window from the click to its
// first paint, and the PDF and PNG files. The anchor, measured in the same
// run, is a refresh of the same list ("باز بيني").
//
//   bench_iqchart   (offscreen or Xvfb)

#include "BenchFolder.h"
#include "Stats.h"
#include "data/RecordSource.h"
#include "records/chart/ChartWindow.h"
#include "records/chart/IqChart.h"
#include "records/window/RecordsWindow.h"
#include "tests/common/Children.h"
#include "ui/ClinicValues.h"

#include <QApplication>
#include <QComboBox>

#include <functional>
#include <vector>

namespace {

// Median of five runs of \a action, events processed after each.
double timed(const std::function<void()> &action)
{
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        action();
        QApplication::processEvents();
        times.push_back(msSince(t));
    }
    return median(times);
}

void closeCharts()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *c = qobject_cast<ChartWindow *>(w))
            delete c;
    }
    QApplication::processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int n = argc >= 2 ? atoi(argv[1]) : 100000;
    BenchFolder folder(n);
    QWidget mainWindow;
    ClinicValues clinic;
    RecordsWindow w(&mainWindow, &clinic);
    QString error;
    if (!w.load(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    w.show();
    while (!w.isListRead())
        QApplication::processEvents();

    const double review = timed([&] { w.review(); });
    const double page = timed([&] { ChartOfShownRows(*child<RecordSource>(&w, "Adodc2"), QString(), QString()); });
    const double window = timed([&] {
        closeCharts();
        w.chart();
        QApplication::processEvents();
    });
    const IqChartPage chart = ChartOfShownRows(*child<RecordSource>(&w, "Adodc2"), QString(), QString());
    const QString pdf = folder.dir.filePath(QStringLiteral("chart.pdf"));
    const QString png = folder.dir.filePath(QStringLiteral("chart.png"));
    const double pdfTime = timed([&] { WriteIqChartPdf(chart, pdf, nullptr); });
    const double pngTime = timed([&] { WriteIqChartPng(chart, png, nullptr); });
    child<QComboBox>(&w, "Combo3")->setCurrentIndex(2);
    const int groupRows = child<RecordSource>(&w, "Adodc2")->rowCount();
    const double groupWindow = timed([&] {
        closeCharts();
        w.chart();
        QApplication::processEvents();
    });
    closeCharts();

    std::printf("%d examinees (%d with an IQ in the chart)\n", n, chart.picture.histogram->count);
    std::printf("  anchor: review (refresh of the list)%8.1f ms\n", review);
    std::printf("  chart page from the shown rows      %8.1f ms  (%.2f of the anchor)\n", page, page / review);
    std::printf("  chart window, click to first paint  %8.1f ms  (%.2f of the anchor)\n", window, window / review);
    std::printf("  same, one group shown (%d rows)  %8.1f ms\n", groupRows, groupWindow);
    std::printf(
        "  PDF written                         %8.1f ms  (%lld bytes)\n", pdfTime, qint64(QFileInfo(pdf).size()));
    std::printf("  PNG written (%dx%d)              %8.1f ms  (%lld bytes)\n", kIqChartPngSize.width(),
        kIqChartPngSize.height(), pngTime, qint64(QFileInfo(png).size()));
    return 0;
}
