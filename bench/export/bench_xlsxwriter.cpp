// What libxlsxwriter's own choices cost for a sheet shaped like the export
// (100,000 rows of 124 cells: names, numbers, answers, flags and times with
// one decimal). Each variant prints processor time, wall time, the split
// between writing the cells and closing the workbook (the zip), and its peak
// memory. The anchor is the same cells written as CSV text.
//
//   bench_xlsxwriter [rows] [variants]   (default 100000, all)

#include "BenchMeasure.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <cstdio>

namespace {

constexpr int kTexts = 3, kNumbers = 13, kItems = 36;
constexpr int kColumns = kTexts + kNumbers + 3 * kItems;

const char *const kNames[] = { "مريم", "علي", "رضايي", "کريمي", "دکتر نمونه", "دبستان" };

enum class Cells { Numbers, AllStrings };

struct Variant
{
    const char *name;
    bool constantMemory;
    bool tmpfs; ///< the temporary files on /dev/shm instead of /tmp
    bool cellFormat; ///< the one-decimal format on each time cell instead of its column
    Cells cells;
};

double valueOf(int row, int col)
{
    if (col < kTexts + kNumbers)
        return (row * 7 + col) % 130;
    if (col < kTexts + kNumbers + kItems)
        return (row + col) % 7;
    if (col < kTexts + kNumbers + 2 * kItems)
        return (row + col) % 2;
    return ((row * 131 + col * 977) % 450000) / 10.0;
}

struct Figures
{
    double cpu = 0, wall = 0, cellsCpu = 0, peak = 0, mb = 0;
    bool ok = false;
};

Figures writeCsv(const QString &path, int rows)
{
    Figures f;
    resetPeak();
    QElapsedTimer t;
    t.start();
    const double cpu = cpuMs();
    FILE *out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        return f;
    char buffer[64];
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            if (c < kTexts) {
                std::fputs(kNames[(r + c) % 6], out);
            } else {
                const double v = valueOf(r, c);
                std::snprintf(buffer, sizeof buffer, c >= kColumns - kItems ? "%.1f" : "%.0f", v);
                std::fputs(buffer, out);
            }
            std::fputc(c + 1 < kColumns ? ',' : '\n', out);
        }
    }
    f.ok = std::fclose(out) == 0;
    f.cpu = cpuMs() - cpu;
    f.wall = t.nsecsElapsed() / 1e6;
    f.cellsCpu = f.cpu;
    f.peak = peakMb();
    f.mb = QFileInfo(path).size() / 1048576.0;
    return f;
}

Figures writeXlsx(const QString &path, int rows, const Variant &v)
{
    Figures f;
    resetPeak();
    QElapsedTimer t;
    t.start();
    const double cpu = cpuMs();
    QByteArray tmpdir = "/dev/shm";
    lxw_workbook_options options = {};
    options.constant_memory = v.constantMemory;
    options.tmpdir = v.tmpfs ? tmpdir.data() : nullptr;
    lxw_workbook *book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Pelorin");
    lxw_format *tenths = workbook_add_format(book);
    format_set_num_format(tenths, "0.0");
    worksheet_right_to_left(sheet);
    worksheet_freeze_panes(sheet, 1, 0);
    if (!v.cellFormat)
        worksheet_set_column(sheet, kColumns - kItems, kColumns - 1, LXW_DEF_COL_WIDTH, tenths);
    lxw_error e = LXW_NO_ERROR;
    char buffer[32];
    for (int r = 0; r < rows && !e; ++r) {
        for (int c = 0; c < kColumns && !e; ++c) {
            const bool time = c >= kColumns - kItems;
            lxw_format *format = time && v.cellFormat ? tenths : nullptr;
            if (c < kTexts) {
                e = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), kNames[(r + c) % 6], nullptr);
            } else if (v.cells == Cells::AllStrings) {
                std::snprintf(buffer, sizeof buffer, time ? "%.1f" : "%.0f", valueOf(r, c));
                e = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), buffer, format);
            } else {
                e = worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), valueOf(r, c), format);
            }
        }
    }
    f.cellsCpu = cpuMs() - cpu;
    f.ok = workbook_close(book) == LXW_NO_ERROR && !e;
    f.cpu = cpuMs() - cpu;
    f.wall = t.nsecsElapsed() / 1e6;
    f.peak = peakMb();
    f.mb = QFileInfo(path).size() / 1048576.0;
    return f;
}

void print(const char *name, const Figures &f, double anchorCpu)
{
    std::printf("  %-34s %s cpu %8.1f ms (cells %8.1f, close %8.1f) %5.1fx anchor, wall %8.1f ms, peak %7.1f MB, "
                "%5.1f MB\n",
        name, f.ok ? "ok  " : "FAIL", f.cpu, f.cellsCpu, f.cpu - f.cellsCpu, f.cpu / anchorCpu, f.wall, f.peak, f.mb);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc >= 2 ? atoi(argv[1]) : 100000;
    const QStringList only = argc >= 3 ? QString::fromLatin1(argv[2]).split(QLatin1Char(',')) : QStringList();
    QTemporaryDir dir;
    const Figures anchor = writeCsv(dir.filePath(QStringLiteral("anchor.csv")), rows);
    std::printf("%d rows of %d cells\n", rows, kColumns);
    print("anchor: the cells as CSV", anchor, anchor.cpu);
    const Variant variants[] = {
        { "constant_memory (as exported)", true, false, false, Cells::Numbers },
        { "constant_memory, tmpdir /dev/shm", true, true, false, Cells::Numbers },
        { "constant_memory, format per cell", true, false, true, Cells::Numbers },
        { "constant_memory, numbers as text", true, false, false, Cells::AllStrings },
        { "in memory, shared strings", false, false, false, Cells::Numbers },
    };
    for (const Variant &v : variants) {
        if (only.isEmpty() || only.contains(QString::number(&v - variants)))
            print(v.name, writeXlsx(dir.filePath(QStringLiteral("out.xlsx")), rows, v), anchor.cpu);
    }
    return 0;
}
