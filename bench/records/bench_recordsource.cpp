// Record sources over large tables: opening (reading the snapshot),
// filtering, moving to the last row and appending.
//
//   bench_recordsource [examinees]   (default 100000)

#include "BenchFolder.h"
#include "data/RecordSource.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc >= 2 ? atoi(argv[1]) : 100000;
    BenchFolder folder(n);

    QElapsedTimer t;
    RecordSource ide, answer;
    t.start();
    ide.open(Database::File::Examinee, QStringLiteral("IDE"));
    const double openIde = msSince(t);
    t.restart();
    answer.open(Database::File::Examinee, QStringLiteral("Answer"));
    const double openAnswer = msSince(t);
    t.restart();
    ide.setFilter(QStringLiteral("LName"), ide.value(500, ide.fieldIndex(QStringLiteral("LName"))));
    const double filter = msSince(t);
    const int matches = ide.rowCount();
    t.restart();
    ide.refresh();
    ide.moveLast();
    const double refreshLast = msSince(t);
    t.restart();
    ide.addNew();
    ide.setField(QStringLiteral("Code"), QStringLiteral("x"));
    ide.update();
    const double append = msSince(t);

    std::printf("%d examinees\n", n);
    std::printf("  open IDE:              %8.1f ms\n", openIde);
    std::printf("  open Answer:           %8.1f ms\n", openAnswer);
    std::printf("  filter on LName:       %8.1f ms (%d rows)\n", filter, matches);
    std::printf("  refresh + move last:   %8.1f ms\n", refreshLast);
    std::printf("  add + update one row:  %8.1f ms\n", append);
    return 0;
}
