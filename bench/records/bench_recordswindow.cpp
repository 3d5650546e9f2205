// The records window over many examinees: from the click to the window shown
// with its list, and a search by last name, first name and group.
//
//   bench_recordswindow [examinees]   (default 100000; offscreen or Xvfb)

#include "BenchFolder.h"
#include "ui/ClinicValues.h"
#include "data/RecordSource.h"
#include "records/window/RecordsWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QTableView>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int n = argc >= 2 ? atoi(argv[1]) : 100000;
    BenchFolder folder(n);
    Database::closeAll(); // as at a fresh start of the window: nothing read yet
    QWidget mainWindow;
    ClinicValues clinic;

    QElapsedTimer t;
    t.start();
    auto *w = new RecordsWindow(&mainWindow, &clinic);
    const double construct = msSince(t);
    QString error;
    if (!w->load(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double load = msSince(t) - construct;
    w->show();
    QApplication::processEvents();
    const double open = msSince(t);
    std::printf("  (window built %.1f ms, record sources %.1f ms, shown %.1f ms)\n", construct, load, open - construct - load);

    auto time = [&](auto action) {
        QElapsedTimer s;
        s.start();
        action();
        QApplication::processEvents();
        return msSince(s);
    };
    const QString name = w->Adodc2->value(1234, w->Adodc2->fieldIndex(QStringLiteral("LName")));
    const double byLast = time([&] { w->DataCombo1->setEditText(name); });
    const int lastRows = w->Adodc2->rowCount();
    // Typing: one more letter that matches nothing, then back.
    const double keystroke = time([&] { w->DataCombo1->setEditText(name + QStringLiteral("x")); });
    const double byFirst = time([&] { w->DataCombo6->setEditText(QStringLiteral("مريم")); });
    const double byGroup = time([&] { w->Combo3->setCurrentIndex(2); });
    const int groupRows = w->Adodc2->rowCount();
    const double review = time([&] { w->review(); });

    std::printf("%d examinees\n", n);
    std::printf("  window open and shown:  %8.1f ms (target < 1000)\n", open);
    std::printf("  search last name:       %8.1f ms (%d rows; target < 100)\n", byLast, lastRows);
    std::printf("  next keystroke:         %8.1f ms\n", keystroke);
    std::printf("  search first name:      %8.1f ms\n", byFirst);
    std::printf("  search group:           %8.1f ms (%d rows)\n", byGroup, groupRows);
    std::printf("  review (full list):     %8.1f ms\n", review);
    delete w;
    return 0;
}
