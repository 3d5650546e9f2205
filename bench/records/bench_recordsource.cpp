// Record sources over large tables: reading the whole table, a keyed read
// of one examinee, filtering, moving to the last row and appending. Each
// read is timed cold (the first after the connection is opened, SQLite's
// page cache empty) and warm (median of later reads); no read is served
// from anything but the file.
//
//   bench_recordsource [examinees]   (default 100000)

#include "BenchFolder.h"
#include "data/RecordSource.h"

#include <QCoreApplication>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

struct Figures
{
    double cold = 0;
    double warm = 0;
};

// \a read once on a fresh connection, then five more times.
Figures coldAndWarm(const std::function<void()> &read)
{
    Database::closeAll();
    Database::open(Database::File::Examinee, nullptr);
    std::vector<double> times;
    for (int i = 0; i < 6; ++i) {
        QElapsedTimer t;
        t.start();
        read();
        times.push_back(msSince(t));
    }
    std::sort(times.begin() + 1, times.end());
    return { times.front(), times[3] };
}

void print(const char *what, const Figures &f, const QString &note = QString())
{
    std::printf("  %-28s cold %8.2f ms, warm %8.2f ms %s\n", what, f.cold, f.warm, qPrintable(note));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc >= 2 ? atoi(argv[1]) : 100000;
    BenchFolder folder(n);
    const QString ide = QStringLiteral("IDE"), answer = QStringLiteral("Answer"), code = QStringLiteral("Code");
    const QString last = QString::number(n);

    std::printf("%d examinees\n", n);
    // A new source each time: every open reads the file.
    print("open IDE (whole table)", coldAndWarm([&] { RecordSource().open(Database::File::Examinee, ide); }));
    print("open Answer (whole table)", coldAndWarm([&] { RecordSource().open(Database::File::Examinee, answer); }));
    RecordSource s;
    print("refreshWhere IDE Code", coldAndWarm([&] { s.openWhere(Database::File::Examinee, ide, code, last); }));
    const Figures keyedAnswer = coldAndWarm([&] { s.openWhere(Database::File::Examinee, answer, code, last); });
    print("refreshWhere Answer Code", keyedAnswer, QStringLiteral("(%1 row)").arg(s.rowCount()));

    s.open(Database::File::Examinee, ide);
    const QString name = s.value(500, s.fieldIndex(QStringLiteral("LName")));
    const Figures filter = coldAndWarm([&] { s.setFilter(QStringLiteral("LName"), name); });
    print("filter IDE on LName", filter, QStringLiteral("(%1 rows, in memory)").arg(s.rowCount()));
    print("refresh IDE + move last", coldAndWarm([&] {
        s.refresh();
        s.moveLast();
    }),
        QStringLiteral("(warm: the file unchanged, nothing read)"));
    int added = 0;
    print("add + update one IDE row", coldAndWarm([&] {
        s.addNew();
        s.setField(code, QStringLiteral("x%1").arg(++added));
        s.update();
    }));
    return 0;
}
