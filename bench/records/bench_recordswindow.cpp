// The records window with 10 and with 100,000 examinees in one run: from
// the click to the window shown, and on to its list in the grid (read after
// the first paint), cold (the first open after the database is opened) and
// warm (later opens); then, for the large table, a search by last name,
// first name and group.
//
//   bench_recordswindow   (offscreen or Xvfb)

#include "BenchFolder.h"
#include "data/RecordSource.h"
#include "records/window/RecordsWindow.h"
#include "tests/common/Children.h"
#include "ui/ClinicValues.h"

#include <QApplication>
#include <QComboBox>
#include <QTableView>

#include <algorithm>
#include <vector>

namespace {

struct Opening
{
    double cold = 0;
    double warm = 0;
    double built = 0, sources = 0, shown = 0; ///< parts of the cold open
    double listCold = 0, listWarm = 0; ///< until the list is in the grid
};

// Opens and closes the window; the last one opened stays in \a kept.
Opening open(QWidget *mainWindow, ClinicValues *clinic, RecordsWindow **kept)
{
    Database::closeAll(); // as at a fresh start of the window: nothing read yet
    Opening o;
    std::vector<double> warm, warmList;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        auto *w = new RecordsWindow(mainWindow, clinic);
        const double construct = msSince(t);
        QString error;
        if (!w->load(&error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
        const double load = msSince(t) - construct;
        w->show();
        QApplication::processEvents();
        const double total = msSince(t);
        while (!w->isListRead())
            QApplication::processEvents();
        QApplication::processEvents();
        const double listed = msSince(t);
        if (round == 0) {
            o = { total, 0, construct, load, total - construct - load, listed, 0 };
        } else {
            warm.push_back(total);
            warmList.push_back(listed);
        }
        if (round < 4) {
            delete w;
            QApplication::processEvents();
        } else {
            *kept = w;
        }
    }
    std::sort(warm.begin(), warm.end());
    std::sort(warmList.begin(), warmList.end());
    o.warm = warm[warm.size() / 2];
    o.listWarm = warmList[warmList.size() / 2];
    return o;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget mainWindow;
    ClinicValues clinic;
    RecordsWindow *w = nullptr;

    Opening small, large;
    {
        BenchFolder folder(10); // the program's own first-time costs are not the table's
        open(&mainWindow, &clinic, &w);
        delete w;
        Database::closeAll();
    }
    {
        BenchFolder folder(10);
        small = open(&mainWindow, &clinic, &w);
        delete w;
        Database::closeAll();
    }
    BenchFolder folder(100000);
    large = open(&mainWindow, &clinic, &w);

    auto time = [&](auto action) {
        QElapsedTimer s;
        s.start();
        action();
        QApplication::processEvents();
        return msSince(s);
    };
    const QString name = child<RecordSource>(w, "Adodc2")
                             ->value(1234, child<RecordSource>(w, "Adodc2")->fieldIndex(QStringLiteral("LName")));
    const double byLast = time([&] { child<QComboBox>(w, "DataCombo1")->setEditText(name); });
    const int lastRows = child<RecordSource>(w, "Adodc2")->rowCount();
    // Typing: one more letter that matches nothing, then back.
    const double keystroke = time([&] { child<QComboBox>(w, "DataCombo1")->setEditText(name + QStringLiteral("x")); });
    const double byFirst = time([&] { child<QComboBox>(w, "DataCombo6")->setEditText(QStringLiteral("مريم")); });
    const double byGroup = time([&] { child<QComboBox>(w, "Combo3")->setCurrentIndex(2); });
    const int groupRows = child<RecordSource>(w, "Adodc2")->rowCount();
    const double review = time([&] { w->review(); });
    for (const auto &[n, o] : { std::pair { 10, small }, std::pair { 100000, large } })
        std::printf("%6d examinees: window open and shown cold %7.1f ms (built %.1f, record sources %.1f, shown %.1f), "
                    "warm median %7.1f ms; list in the grid cold %7.1f ms, warm median %7.1f ms\n",
            n, o.cold, o.built, o.sources, o.shown, o.warm, o.listCold, o.listWarm);
    std::printf("  ratio 100,000 / 10: cold %.2f, warm %.2f (target at most 2)\n", large.cold / small.cold,
        large.warm / small.warm);
    std::printf("100000 examinees:\n");
    std::printf("  search last name:       %8.1f ms (%d rows; target < 100)\n", byLast, lastRows);
    std::printf("  next keystroke:         %8.1f ms\n", keystroke);
    std::printf("  search first name:      %8.1f ms\n", byFirst);
    std::printf("  search group:           %8.1f ms (%d rows)\n", byGroup, groupRows);
    std::printf("  review (full list):     %8.1f ms\n", review);
    delete w;
    return 0;
}
