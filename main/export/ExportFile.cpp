#include "export/ExportFile.h"

#include "common/DurableFile.h"
#include "data/AppPaths.h"
#include "data/RecordSource.h"
#include "data/SqlFailure.h"
#include "export/ExportTable.h"
#include "test/content/ContentInUse.h"
#include "test/content/TestContent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <readstat.h>
#include <xlsxwriter.h>

namespace {

using Kind = ExportColumn::Kind;

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// ---- CSV -------------------------------------------------------------------

// Most cells are ASCII (numbers, flags, times): those are copied byte by
// byte, with no conversion of their own.
void appendUtf8(QByteArray *out, QStringView value)
{
    const qsizetype start = out->size();
    out->resize(start + value.size());
    char *p = out->data() + start;
    for (const QChar ch : value) {
        if (ch.unicode() >= 0x80) {
            out->resize(start);
            out->append(value.toUtf8());
            return;
        }
        *p++ = char(ch.unicode());
    }
}

void appendCsvField(QByteArray *out, const QString &value)
{
    bool quote = false;
    for (const QChar ch : value) {
        if (ch == QLatin1Char(',') || ch == QLatin1Char('"') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r')) {
            quote = true;
            break;
        }
    }
    if (!quote) {
        appendUtf8(out, value);
        return;
    }
    out->append('"');
    appendUtf8(out, QString(value).replace(QLatin1Char('"'), QLatin1String("\"\"")));
    out->append('"');
}

void appendCsvLine(QByteArray *out, const QStringList &cells)
{
    for (int c = 0; c < cells.size(); ++c) {
        if (c > 0)
            out->append(',');
        appendCsvField(out, cells[c]);
    }
    out->append("\r\n");
}

bool writeAll(QIODevice *device, const QByteArray &bytes, QString *error)
{
    if (device->write(bytes) != bytes.size())
        return fail(error, QStringLiteral("write failed: %1").arg(device->errorString()));
    return true;
}

// ---- shared by the typed formats -------------------------------------------

// How a value of a labelled column is written where numbers and texts are
// kept apart: its number, the code of its label, or neither.
std::optional<double> numberOf(const ExportColumn &column, const QString &value)
{
    double d = 0;
    if (column.kind == Kind::Number && ExportNumber(value, &d))
        return d;
    if (column.labelsStandForText) {
        for (const ExportValueLabel &l : column.valueLabels) {
            if (l.label == value)
                return l.code;
        }
    }
    return std::nullopt;
}

int utf8Length(const QString &text)
{
    int n = 0;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        n += u < 0x80 ? 1 : u < 0x800 ? 2 : QChar::isSurrogate(u) ? 2 : 3;
    }
    return n;
}

int fractionDigits(const QString &number)
{
    const qsizetype dot = number.indexOf(QLatin1Char('.'));
    return dot < 0 ? 0 : int(number.size() - dot - 1);
}

// ---- xlsx ------------------------------------------------------------------

bool xlsxFail(QString *error, lxw_error e)
{
    return fail(error, QStringLiteral("Excel file: %1").arg(QString::fromUtf8(lxw_strerror(e))));
}

bool writeXlsx(const ExportTable &table, const QString &path, QString *error)
{
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE; // rows go to disk as they are written
    const QByteArray name = QFile::encodeName(path);
    lxw_workbook *book = workbook_new_opt(name.constData(), &options);
    if (!book)
        return fail(error, QStringLiteral("Excel file: cannot start the workbook"));
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Pelorin");
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    worksheet_right_to_left(sheet);
    worksheet_freeze_panes(sheet, 1, 0);

    lxw_error e = LXW_NO_ERROR;
    const QVector<ExportColumn> &columns = table.columns();
    // A fixed number of decimals is the column's format, not each cell's.
    QHash<int, lxw_format *> fixed;
    for (int c = 0; c < columns.size() && !e; ++c) {
        const int decimals = columns[c].decimals;
        if (decimals < 0)
            continue;
        if (!fixed.contains(decimals)) {
            lxw_format *f = workbook_add_format(book);
            const QByteArray pattern = decimals == 0 ? QByteArray("0") : "0." + QByteArray(decimals, '0');
            format_set_num_format(f, pattern.constData());
            fixed.insert(decimals, f);
        }
        e = worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), LXW_DEF_COL_WIDTH, fixed.value(decimals));
    }
    for (int c = 0; c < columns.size() && !e; ++c)
        e = worksheet_write_string(sheet, 0, lxw_col_t(c), columns[c].name.toUtf8().constData(), bold);
    QStringList cells;
    QByteArray utf8;
    for (int r = 0; r < table.rowCount() && !e; ++r) {
        table.row(r, &cells);
        const lxw_row_t row = lxw_row_t(r + 1);
        for (int c = 0; c < cells.size() && !e; ++c) {
            const QString &v = cells[c];
            if (v.isEmpty())
                continue;
            double d = 0;
            if (columns[c].kind == Kind::Number && ExportNumber(v, &d)) {
                e = worksheet_write_number(sheet, row, lxw_col_t(c), d, nullptr);
            } else {
                utf8 = v.toUtf8();
                e = worksheet_write_string(sheet, row, lxw_col_t(c), utf8.constData(), nullptr);
            }
        }
    }
    const lxw_error closed = workbook_close(book);
    if (e)
        return xlsxFail(error, e);
    if (closed)
        return xlsxFail(error, closed);
    return true;
}

// ---- sav -------------------------------------------------------------------

struct SavColumn
{
    bool numeric = false;
    int width = 1; ///< bytes of the longest text
    int decimals = 0; ///< most fraction digits of a number
};

// SPSS gives a variable one type: numeric only when every value can be a
// number (or a labelled text), else the stored texts.
QVector<SavColumn> savColumns(const ExportTable &table)
{
    const QVector<ExportColumn> &columns = table.columns();
    QVector<SavColumn> out(columns.size());
    for (int c = 0; c < columns.size(); ++c)
        out[c].numeric = columns[c].kind == Kind::Number || columns[c].labelsStandForText;
    QStringList cells;
    for (int r = 0; r < table.rowCount(); ++r) {
        table.row(r, &cells);
        for (int c = 0; c < cells.size(); ++c) {
            const QString &v = cells[c];
            if (v.isEmpty())
                continue;
            SavColumn &s = out[c];
            s.width = std::max(s.width, utf8Length(v));
            if (!s.numeric)
                continue;
            const std::optional<double> d = numberOf(columns[c], v);
            // A stored number that equals a label's code could not be told apart from it.
            bool clash = false;
            if (d && columns[c].labelsStandForText && ExportNumber(v)) {
                for (const ExportValueLabel &l : columns[c].valueLabels)
                    clash = clash || l.code == *d;
            }
            if (!d || clash)
                s.numeric = false;
            else if (ExportNumber(v))
                s.decimals = std::max(s.decimals, fractionDigits(v));
        }
    }
    for (int c = 0; c < columns.size(); ++c) {
        if (columns[c].decimals >= 0)
            out[c].decimals = columns[c].decimals;
    }
    return out;
}

ssize_t savWrite(const void *data, size_t length, void *context)
{
    auto *device = static_cast<QIODevice *>(context);
    return device->write(static_cast<const char *>(data), qint64(length)) == qint64(length) ? ssize_t(length) : -1;
}

bool savFail(QString *error, readstat_error_t e)
{
    return fail(error, QStringLiteral("SPSS file: %1").arg(QString::fromUtf8(readstat_error_message(e))));
}

constexpr int kSavLongestText = 32767;

bool writeSav(const ExportTable &table, QIODevice *device, QString *error)
{
    const QVector<ExportColumn> &columns = table.columns();
    const QVector<SavColumn> types = savColumns(table);
    for (int c = 0; c < columns.size(); ++c) {
        if (!types[c].numeric && types[c].width > kSavLongestText)
            return fail(error,
                QStringLiteral("SPSS file: a value of %1 is longer than %2 bytes")
                    .arg(columns[c].name)
                    .arg(kSavLongestText));
    }

    readstat_writer_t *writer = readstat_writer_init();
    readstat_set_data_writer(writer, savWrite);
    readstat_writer_set_compression(writer, READSTAT_COMPRESS_ROWS);
    readstat_writer_set_file_label(writer, "Pelorin");
    std::vector<readstat_variable_t *> variables;
    for (int c = 0; c < columns.size(); ++c) {
        const ExportColumn &col = columns[c];
        const SavColumn &type = types[c];
        const QByteArray name = col.name.toUtf8();
        readstat_variable_t *v = type.numeric
            ? readstat_add_variable(writer, name.constData(), READSTAT_TYPE_DOUBLE, 0)
            : readstat_add_variable(writer, name.constData(), READSTAT_TYPE_STRING, size_t(type.width));
        readstat_variable_set_label(v, col.label.toUtf8().constData());
        if (type.numeric) {
            const QByteArray format
                = QStringLiteral("F%1.%2").arg(std::max(8, type.decimals + 3)).arg(type.decimals).toLatin1();
            readstat_variable_set_format(v, format.constData());
            if (!col.valueLabels.isEmpty()) {
                readstat_label_set_t *set
                    = readstat_add_label_set(writer, READSTAT_TYPE_DOUBLE, ("labels_" + name).constData());
                for (const ExportValueLabel &l : col.valueLabels)
                    readstat_label_double_value(set, l.code, l.label.toUtf8().constData());
                readstat_variable_set_label_set(v, set);
                readstat_variable_set_measure(v, READSTAT_MEASURE_NOMINAL);
            }
            for (double m : col.missingCodes)
                readstat_variable_add_missing_double_value(v, m);
        } else {
            readstat_variable_set_measure(v, READSTAT_MEASURE_NOMINAL);
        }
        variables.push_back(v);
    }

    readstat_error_t e = readstat_begin_writing_sav(writer, device, table.rowCount());
    QStringList cells;
    QByteArray utf8;
    for (int r = 0; r < table.rowCount() && e == READSTAT_OK; ++r) {
        table.row(r, &cells);
        e = readstat_begin_row(writer);
        for (int c = 0; c < cells.size() && e == READSTAT_OK; ++c) {
            const QString &v = cells[c];
            if (types[c].numeric) {
                e = v.isEmpty() ? readstat_insert_missing_value(writer, variables[size_t(c)])
                                : readstat_insert_double_value(writer, variables[size_t(c)], *numberOf(columns[c], v));
            } else {
                utf8 = v.toUtf8();
                e = readstat_insert_string_value(writer, variables[size_t(c)], utf8.constData());
            }
        }
        if (e == READSTAT_OK)
            e = readstat_end_row(writer);
    }
    if (e == READSTAT_OK)
        e = readstat_end_writing(writer);
    readstat_writer_free(writer);
    if (e != READSTAT_OK)
        return savFail(error, e);
    return true;
}

// ---- the file --------------------------------------------------------------

// The file being written, beside its final name; removed unless kept.
struct PartFile
{
    QString name;
    bool keep = false;
    ~PartFile()
    {
        if (!keep && !name.isEmpty())
            QFile::remove(name);
    }
};

} // namespace

std::optional<ExportFormat> ExportFormatNamed(const QString &name)
{
    const QString n = name.toLower();
    if (n == QLatin1String("csv"))
        return ExportFormat::Csv;
    if (n == QLatin1String("xlsx"))
        return ExportFormat::Xlsx;
    if (n == QLatin1String("sav"))
        return ExportFormat::Sav;
    return std::nullopt;
}

std::optional<ExportFormat> ExportFormatOf(const QString &path)
{
    return ExportFormatNamed(QFileInfo(path).suffix());
}

QString ExportFileFilter()
{
    return QStringLiteral("Excel (*.xlsx);;SPSS (*.sav);;CSV (*.csv)");
}

bool WriteCsv(const ExportTable &table, QIODevice *device, QString *error)
{
    constexpr qsizetype kChunk = 1 << 20;
    QByteArray out;
    out.reserve(kChunk + kChunk / 4);
    out.append("\xEF\xBB\xBF");
    QStringList cells;
    for (const ExportColumn &c : table.columns())
        cells << c.name;
    appendCsvLine(&out, cells);
    for (int r = 0; r < table.rowCount(); ++r) {
        table.row(r, &cells);
        appendCsvLine(&out, cells);
        if (out.size() >= kChunk) {
            if (!writeAll(device, out, error))
                return false;
            out.resize(0); // the buffer is kept for the next chunk
        }
    }
    return writeAll(device, out, error);
}

bool ExportToFile(const ExportTable &table, ExportFormat format, const QString &path, QString *error)
{
    const QFileInfo target(path);
    if (target.fileName().isEmpty())
        return fail(error, QStringLiteral("%1: no file name").arg(path));
    if (target.isDir())
        return fail(error, QStringLiteral("%1: is a folder").arg(path));
    const QString dir = target.absolutePath();
    PartFile part;
    QFile file(dir + QLatin1String("/.") + target.fileName() + QLatin1Char('.')
        + QUuid::createUuid().toString(QUuid::Id128).left(8) + QLatin1String(".part"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(error,
            QStringLiteral("%1: cannot write in this folder (%2)")
                .arg(QDir::toNativeSeparators(path), FileFailureText(file)));
    part.name = file.fileName();

    bool ok = false;
    QString message;
    switch (format) {
    case ExportFormat::Csv:
        ok = WriteCsv(table, &file, &message);
        break;
    case ExportFormat::Sav:
        ok = writeSav(table, &file, &message);
        break;
    case ExportFormat::Xlsx:
        file.close(); // the workbook writes the reserved name itself
        ok = writeXlsx(table, part.name, &message);
        break;
    }
    if (ok)
        ok = file.isOpen() ? file.flush() && DurableFile::flushToDisk(file, &message)
                           : DurableFile::flushPathToDisk(part.name, &message);
    if (!ok && message.isEmpty())
        message = FileFailureText(file);
    if (file.isOpen())
        file.close();
    if (!ok)
        return fail(error, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), message));
    if (!DurableFile::renameIntoPlace(part.name, path, &message))
        return fail(error, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), message));
    part.keep = true;
    DurableFile::syncFolder(dir); // the new name lasts too
    return true;
}

bool LoadExportKey(const QString &contentDir, AnswerKey *key, QString *error)
{
    TestContent content;
    if (!content.load(contentDir, error))
        return false;
    const QVector<int> k = content.answerKey();
    for (int i = 0; i < int(key->size()); ++i)
        (*key)[size_t(i)] = k.value(i);
    return true;
}

bool ExportRecords(const RecordSource &ide, const RecordSource &answers, const QString &path, QString *error)
{
    const std::optional<ExportFormat> format = ExportFormatOf(path);
    if (!format)
        return fail(
            error, QStringLiteral("%1: the name must end in .xlsx, .sav or .csv").arg(QFileInfo(path).fileName()));
    AnswerKey key {};
    // The key of the materials that scored the results.
    if (!LoadExportKey(ContentInUse::current().dir, &key, error))
        return false;
    AnswerLog::FinalLatencies latencies;
    if (!latencies.read(Database::connection(ide.file()), error))
        return false;
    return ExportToFile(ExportTable(ide, answers, key, latencies), *format, path, error);
}
