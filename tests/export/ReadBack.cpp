#include "ReadBack.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <readstat.h>
#include <zlib.h>

namespace ReadBack {

bool parseCsv(const QByteArray &bytes, bool *hadBom, QVector<QStringList> *rows, QString *error)
{
    QByteArray data = bytes;
    *hadBom = data.startsWith("\xEF\xBB\xBF");
    if (*hadBom)
        data.remove(0, 3);
    rows->clear();
    QStringList row;
    QByteArray field;
    qsizetype i = 0;
    const qsizetype n = data.size();
    auto endField = [&] {
        row << QString::fromUtf8(field);
        field.clear();
    };
    while (i < n) {
        if (data[i] == '"') {
            ++i;
            for (;;) {
                if (i >= n) {
                    *error = QStringLiteral("unterminated quote");
                    return false;
                }
                if (data[i] == '"') {
                    if (i + 1 < n && data[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += data[i++];
            }
            if (i < n && data[i] != ',' && data[i] != '\r') {
                *error = QStringLiteral("text after a closing quote at %1").arg(i);
                return false;
            }
        }
        while (i < n && data[i] != ',' && data[i] != '\r' && data[i] != '\n') {
            if (data[i] == '"') {
                *error = QStringLiteral("quote inside an unquoted field at %1").arg(i);
                return false;
            }
            field += data[i++];
        }
        if (i >= n) {
            *error = QStringLiteral("last line without CRLF");
            return false;
        }
        if (data[i] == ',') {
            endField();
            ++i;
        } else if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') {
            endField();
            *rows << row;
            row.clear();
            i += 2;
        } else {
            *error = QStringLiteral("bare line break at %1").arg(i);
            return false;
        }
    }
    return true;
}

namespace {

quint32 le(const QByteArray &b, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int k = bytes - 1; k >= 0; --k)
        v = (v << 8) | quint8(b[at + k]);
    return v;
}

bool inflateRaw(const QByteArray &in, qsizetype size, QByteArray *out)
{
    out->resize(size);
    z_stream s = {};
    if (inflateInit2(&s, -MAX_WBITS) != Z_OK)
        return false;
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData()));
    s.avail_in = uInt(in.size());
    s.next_out = reinterpret_cast<Bytef *>(out->data());
    s.avail_out = uInt(size);
    const int r = inflate(&s, Z_FINISH);
    inflateEnd(&s);
    return r == Z_STREAM_END && s.total_out == uLong(size);
}

int columnOf(QStringView ref)
{
    int c = 0;
    for (QChar ch : ref) {
        if (!ch.isUpper())
            break;
        c = c * 26 + (ch.unicode() - 'A' + 1);
    }
    return c - 1;
}

// Sheet texts write control characters as _xHHHH_ (Office Open XML).
QString unescapeXstring(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype last = 0;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(last, m.capturedStart() - last) + QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

} // namespace

bool readZip(const QString &path, QHash<QString, QByteArray> *members, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.errorString();
        return false;
    }
    const QByteArray z = f.readAll();
    const qsizetype end = z.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0 || end + 22 > z.size()) {
        *error = QStringLiteral("no end of central directory");
        return false;
    }
    const int count = int(le(z, end + 10, 2));
    qsizetype at = le(z, end + 16, 4);
    for (int k = 0; k < count; ++k) {
        if (at + 46 > z.size() || le(z, at, 4) != 0x02014b50) {
            *error = QStringLiteral("bad central directory entry %1").arg(k);
            return false;
        }
        const int method = int(le(z, at + 10, 2));
        const qsizetype packed = le(z, at + 20, 4), size = le(z, at + 24, 4);
        const int nameLength = int(le(z, at + 28, 2)), extra = int(le(z, at + 30, 2)), comment = int(le(z, at + 32, 2));
        const qsizetype local = le(z, at + 42, 4);
        const QString name = QString::fromUtf8(z.mid(at + 46, nameLength));
        at += 46 + nameLength + extra + comment;
        if (le(z, local, 4) != 0x04034b50) {
            *error = QStringLiteral("bad local header of %1").arg(name);
            return false;
        }
        const qsizetype data = local + 30 + le(z, local + 26, 2) + le(z, local + 28, 2);
        const QByteArray raw = z.mid(data, packed);
        QByteArray content;
        if (method == 0)
            content = raw;
        else if (method != 8 || !inflateRaw(raw, size, &content)) {
            *error = QStringLiteral("cannot unpack %1 (method %2)").arg(name).arg(method);
            return false;
        }
        members->insert(name, content);
    }
    return true;
}

bool readXlsx(const QString &path, XlsxSheet *sheet, QString *error)
{
    QHash<QString, QByteArray> zip;
    if (!readZip(path, &zip, error))
        return false;
    const QByteArray xml = zip.value(QStringLiteral("xl/worksheets/sheet1.xml"));
    if (xml.isEmpty()) {
        *error = QStringLiteral("no sheet1.xml");
        return false;
    }
    QStringList shared;
    {
        QXmlStreamReader r(zip.value(QStringLiteral("xl/sharedStrings.xml")));
        QString text;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == QLatin1String("si"))
                text.clear();
            else if (r.isStartElement() && r.name() == QLatin1String("t"))
                text += r.readElementText();
            else if (r.isEndElement() && r.name() == QLatin1String("si"))
                shared << text;
        }
    }
    {
        // Number formats and fonts in order, then the cell formats that use them.
        QXmlStreamReader r(zip.value(QStringLiteral("xl/styles.xml")));
        QHash<int, QString> numFmts;
        QVector<bool> fontBold;
        bool inFonts = false, inXfs = false;
        int xf = 0;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement()) {
                if (r.name() == QLatin1String("numFmt"))
                    numFmts.insert(r.attributes().value(QLatin1String("numFmtId")).toInt(),
                        r.attributes().value(QLatin1String("formatCode")).toString());
                else if (r.name() == QLatin1String("fonts"))
                    inFonts = true;
                else if (inFonts && r.name() == QLatin1String("font"))
                    fontBold << false;
                else if (inFonts && r.name() == QLatin1String("b"))
                    fontBold.last() = true;
                else if (r.name() == QLatin1String("cellXfs"))
                    inXfs = true;
                else if (inXfs && r.name() == QLatin1String("xf")) {
                    if (fontBold.value(r.attributes().value(QLatin1String("fontId")).toInt()))
                        sheet->boldStyles << QString::number(xf);
                    const int numFmt = r.attributes().value(QLatin1String("numFmtId")).toInt();
                    if (numFmts.contains(numFmt))
                        sheet->numberFormats.insert(xf, numFmts.value(numFmt));
                    ++xf;
                }
            } else if (r.isEndElement()) {
                if (r.name() == QLatin1String("fonts"))
                    inFonts = false;
                else if (r.name() == QLatin1String("cellXfs"))
                    inXfs = false;
            }
        }
    }
    QXmlStreamReader r(xml);
    XlsxCell cell;
    int row = -1, col = -1;
    QString type;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const auto a = r.attributes();
            if (r.name() == QLatin1String("sheetView"))
                sheet->rightToLeft = a.value(QLatin1String("rightToLeft")) == QLatin1String("1");
            else if (r.name() == QLatin1String("pane"))
                sheet->frozenHeader = a.value(QLatin1String("ySplit")) == QLatin1String("1")
                    && a.value(QLatin1String("state")) == QLatin1String("frozen");
            else if (r.name() == QLatin1String("row")) {
                row = a.value(QLatin1String("r")).toInt() - 1;
                if (sheet->rows.size() <= row)
                    sheet->rows.resize(row + 1);
            } else if (r.name() == QLatin1String("c")) {
                cell = XlsxCell();
                col = columnOf(a.value(QLatin1String("r")));
                type = a.value(QLatin1String("t")).toString();
                cell.style = a.value(QLatin1String("s")).toInt();
            } else if (r.name() == QLatin1String("v")) {
                const QString v = r.readElementText();
                if (type == QLatin1String("s"))
                    cell.text = shared.value(v.toInt());
                else if (type == QLatin1String("str"))
                    cell.text = v;
                else {
                    cell.number = true;
                    cell.value = v.toDouble();
                }
            } else if (r.name() == QLatin1String("t")) {
                cell.text += r.readElementText();
            }
        } else if (r.isEndElement() && r.name() == QLatin1String("c")) {
            cell.text = unescapeXstring(cell.text);
            sheet->rows[row].insert(col, cell);
        }
    }
    if (r.hasError()) {
        *error = r.errorString();
        return false;
    }
    return true;
}

namespace {

struct SavContext
{
    SavFile *file;
    QHash<QString, int> labelSetOf; // label set name -> variable index, filled per variable
    QHash<QString, QHash<double, QString>> sets;
    QHash<int, QString> setNameOf;
};

int savMetadata(readstat_metadata_t *metadata, void *ctx)
{
    auto *c = static_cast<SavContext *>(ctx);
    c->file->encoding = QString::fromUtf8(readstat_get_file_encoding(metadata));
    c->file->rows.resize(readstat_get_row_count(metadata));
    return READSTAT_HANDLER_OK;
}

int savVariable(int index, readstat_variable_t *variable, const char *labels, void *ctx)
{
    auto *c = static_cast<SavContext *>(ctx);
    SavVariable v;
    v.name = QString::fromUtf8(readstat_variable_get_name(variable));
    v.label = QString::fromUtf8(readstat_variable_get_label(variable));
    v.numeric = readstat_variable_get_type_class(variable) == READSTAT_TYPE_CLASS_NUMERIC;
    v.format = QString::fromUtf8(readstat_variable_get_format(variable));
    for (int m = 0; m < readstat_variable_get_missing_ranges_count(variable); ++m)
        v.missing << readstat_double_value(readstat_variable_get_missing_range_lo(variable, m));
    if (labels)
        c->setNameOf.insert(index, QString::fromUtf8(labels));
    c->file->variables << v;
    return READSTAT_HANDLER_OK;
}

int savValue(int row, readstat_variable_t *variable, readstat_value_t value, void *ctx)
{
    auto *c = static_cast<SavContext *>(ctx);
    QVector<SavValue> &cells = c->file->rows[row];
    if (cells.isEmpty())
        cells.resize(c->file->variables.size());
    SavValue &v = cells[readstat_variable_get_index(variable)];
    v.systemMissing = readstat_value_is_system_missing(value);
    v.userMissing = readstat_value_is_defined_missing(value, variable);
    if (readstat_value_type_class(value) == READSTAT_TYPE_CLASS_STRING)
        v.text = QString::fromUtf8(readstat_string_value(value));
    else if (!v.systemMissing)
        v.number = readstat_double_value(value);
    return READSTAT_HANDLER_OK;
}

int savValueLabel(const char *set, readstat_value_t value, const char *label, void *ctx)
{
    auto *c = static_cast<SavContext *>(ctx);
    c->sets[QString::fromUtf8(set)].insert(readstat_double_value(value), QString::fromUtf8(label));
    return READSTAT_HANDLER_OK;
}

} // namespace

bool readSav(const QString &path, SavFile *file, QString *error)
{
    SavContext context { file, {}, {}, {} };
    readstat_parser_t *parser = readstat_parser_init();
    readstat_set_metadata_handler(parser, savMetadata);
    readstat_set_variable_handler(parser, savVariable);
    readstat_set_value_handler(parser, savValue);
    readstat_set_value_label_handler(parser, savValueLabel);
    const readstat_error_t e = readstat_parse_sav(parser, QFile::encodeName(path).constData(), &context);
    readstat_parser_free(parser);
    if (e != READSTAT_OK) {
        *error = QString::fromUtf8(readstat_error_message(e));
        return false;
    }
    for (auto it = context.setNameOf.cbegin(); it != context.setNameOf.cend(); ++it)
        file->variables[it.key()].valueLabels = context.sets.value(it.value());
    return true;
}

} // namespace ReadBack
