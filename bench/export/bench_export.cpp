// Export of a large examinee list with a click log of 36 rows each: CSV,
// Excel and SPSS, each with its peak memory. The anchor is reading every
// exported row without writing it.
//
//   bench_export [examinees] [formats]   (default 100000 csv,xlsx,sav)

#include "BenchFolder.h"
#include "BenchMeasure.h"
#include "data/RecordSource.h"
#include "export/ExportFile.h"
#include "export/ExportTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc >= 2 ? atoi(argv[1]) : 100000;
    BenchFolder folder(n);
    BenchFolder::fillLog(n);
    AnswerKey key {};
    QString error;
    if (!LoadExportKey(QStringLiteral(PELORIN_CONTENT_DIR), &key, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    resetPeak();
    QElapsedTimer t;
    t.start();
    RecordSource ide, answers;
    ide.open(Database::File::Examinee, QStringLiteral("IDE"));
    answers.open(Database::File::Examinee, QStringLiteral("Answer"));
    const double open = msSince(t);
    const double openPeak = peakMb();
    std::printf("%d examinees\n", ide.rowCount());
    std::printf("  open IDE + Answer:            %8.1f ms, peak %6.1f MB\n", open, openPeak);
    double anchorCpu = 0;
    {
        resetPeak();
        t.restart();
        double cpu = cpuMs();
        AnswerLog::FinalLatencies latencies;
        if (!latencies.read(Database::connection(Database::File::Examinee), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("  read the log, %6d examinees: %8.1f ms, cpu %8.1f ms, peak %6.1f MB\n", latencies.examinees(),
            msSince(t), cpuMs() - cpu, peakMb());
        const ExportTable table(ide, answers, key, latencies);
        t.restart();
        cpu = cpuMs();
        QStringList cells;
        qint64 chars = 0;
        for (int r = 0; r < table.rowCount(); ++r) {
            table.row(r, &cells);
            chars += cells.size();
        }
        const double anchor = msSince(t);
        anchorCpu = cpuMs() - cpu;
        std::printf("  anchor, read every row:       %8.1f ms, cpu %8.1f ms (%lld cells in %d columns)\n", anchor,
            anchorCpu, chars, int(table.columns().size()));
    }
    std::printf("  each format: the log read and the file written\n");
    const struct
    {
        ExportFormat format;
        const char *name;
        double limit;
    } formats[] = { { ExportFormat::Csv, "csv", 2000 }, { ExportFormat::Xlsx, "xlsx", 10000 },
        { ExportFormat::Sav, "sav", 10000 } };
    const QStringList only = argc >= 3 ? QString::fromLatin1(argv[2]).split(QLatin1Char(',')) : QStringList();
    for (const auto &f : formats) {
        if (!only.isEmpty() && !only.contains(QLatin1String(f.name)))
            continue;
        const QString path = folder.dir.filePath(QStringLiteral("export.") + QLatin1String(f.name));
        resetPeak();
        t.restart();
        double cpu = cpuMs();
        AnswerLog::FinalLatencies latencies;
        const bool ok = latencies.read(Database::connection(Database::File::Examinee), &error)
            && ExportToFile(ExportTable(ide, answers, key, latencies), f.format, path, &error);
        const double ms = msSince(t);
        cpu = cpuMs() - cpu;
        std::printf("  %-4s %s  %8.1f ms, cpu %8.1f ms (limit %5.0f, %4.1fx anchor), peak %6.1f MB, %6.1f MB file\n",
            f.name, ok ? "ok  " : "FAIL", ms, cpu, f.limit, cpu / anchorCpu, peakMb(),
            QFileInfo(path).size() / 1048576.0);
        if (!ok)
            std::printf("       %s\n", qPrintable(error));
    }
    return 0;
}
