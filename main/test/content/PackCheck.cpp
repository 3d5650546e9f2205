#include "test/content/PackCheck.h"

#include "data/Schema.h"
#include "test/content/CheckTexts.h"
#include "test/content/PictureCheck.h"
#include "test/content/TestContent.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

PackFault error(const QString &text, int raw = 0, int column = 0)
{
    return { PackFault::Severity::Error, text, raw, column };
}

PackFault warning(const QString &text, int raw = 0, int column = 0)
{
    return { PackFault::Severity::Warning, text, raw, column };
}

bool isPicture(const QString &name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == QLatin1String("png") || suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

void checkPictures(const ContentPack &pack, QVector<PackFault> *faults)
{
    const QMap<QString, QByteArray> files = pack.files();
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (!isPicture(it.key()))
            continue;
        const QString fault = CheckTexts::pictureCut.arg(it.key());
        // The loader may have named this picture already.
        const bool named
            = std::any_of(faults->cbegin(), faults->cend(), [&](const PackFault &f) { return f.text.contains(fault); });
        if (!named && PictureCheck::check(it.value(), it.key()) != PictureCheck::Outcome::Whole)
            faults->append(error(fault));
    }
}

void checkFields(const ContentPack &pack, PackCheck::Fields fields, QVector<PackFault> *faults)
{
    const QJsonObject m = pack.manifest();
    for (const char *field : { "name", "contentVersion", "created", "norms" }) {
        const bool needed = fields == PackCheck::Fields::Required || qstrcmp(field, "norms") == 0;
        if (needed && m.value(QLatin1String(field)).toString().trimmed().isEmpty())
            faults->append(error(CheckTexts::fieldMissing.arg(QLatin1String(field))));
    }
    for (const QString &name : pack.namedFiles()) {
        if (name.contains(QLatin1String("..")) || QFileInfo(name).isAbsolute())
            faults->append(error(CheckTexts::outsidePack.arg(name)));
        else if (!pack.files().contains(name))
            faults->append(error(CheckTexts::fileMissing.arg(name)));
    }
}

// The loader's own rules, run on the pack as it would be installed.
void checkWithLoader(const ContentPack &pack, QVector<PackFault> *faults)
{
    QTemporaryDir dir;
    QString why;
    if (!dir.isValid() || !pack.extractTo(dir.path(), &why)) {
        faults->append(error(CheckTexts::cannotUnpack.arg(why)));
        return;
    }
    TestContent content;
    if (!content.load(dir.path(), &why))
        faults->append(error(why.replace(dir.path() + QLatin1Char('/'), QString())));
}

bool wholeNumber(const QString &cell, int *value)
{
    bool ok = false;
    *value = cell.trimmed().toInt(&ok);
    return ok;
}

} // namespace

namespace PackCheck {

double normalPercentile(double iq)
{
    return 50.0 * std::erfc(-(iq - 100.0) / 15.0 / std::sqrt(2.0));
}

QVector<QStringList> parseTable(const QString &text)
{
    QVector<QStringList> table;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line.remove(QLatin1Char('\r'));
        if (line.trimmed().isEmpty())
            continue;
        const QChar separator = line.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
        QStringList cells = line.split(separator);
        for (QString &c : cells)
            c = c.trimmed();
        table.append(cells);
    }
    return table;
}

QVector<PackFault> checkNorms(const QVector<QStringList> &table)
{
    QVector<PackFault> faults;
    const QStringList header = Schema::ppp().fields;
    if (table.isEmpty() || table.first() != header) {
        faults.append(error(CheckTexts::normsHeader.arg(header.join(QLatin1Char(',')))));
        return faults;
    }
    // values[raw][column 1..12]; a cell that is not a number stays absent.
    QMap<int, QMap<int, int>> values;
    for (int r = 1; r < table.size(); ++r) {
        const QStringList &row = table[r];
        int raw = 0;
        if (!wholeNumber(row.value(0), &raw)) {
            faults.append(error(CheckTexts::normsRawNotNumber.arg(r + 1).arg(row.value(0))));
            continue;
        }
        if (values.contains(raw)) {
            faults.append(error(CheckTexts::normsRawTwice.arg(raw), raw));
            continue;
        }
        if (row.size() != header.size())
            faults.append(error(CheckTexts::normsRowSize.arg(raw).arg(row.size()).arg(header.size()), raw));
        QMap<int, int> &cells = values[raw];
        for (int c = 1; c < header.size(); ++c) {
            const QString where = CheckTexts::normsCell.arg(raw).arg(header[c]);
            int v = 0;
            if (!wholeNumber(row.value(c), &v)) {
                faults.append(error(CheckTexts::normsNotNumber.arg(where, row.value(c)), raw, c));
                continue;
            }
            const bool iq = c <= 6;
            const int low = iq ? IqMin : PercentileMin;
            const int high = iq ? IqMax : PercentileMax;
            if (v < low || v > high) {
                faults.append(error(CheckTexts::normsRange.arg(where).arg(v).arg(low).arg(high), raw, c));
                continue;
            }
            cells.insert(c, v);
        }
    }
    for (int raw = LowestRaw; raw <= HighestRaw; ++raw) {
        if (!values.contains(raw))
            faults.append(error(CheckTexts::normsRawMissing.arg(raw), raw));
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int raw = it.key();
        const QMap<int, int> &cells = it.value();
        const QMap<int, int> previous = values.value(raw - 1);
        for (int c = 1; c < header.size(); ++c) {
            if (!cells.contains(c))
                continue;
            const int v = cells.value(c);
            const QString where = CheckTexts::normsCell.arg(raw).arg(header[c]);
            if (previous.contains(c) && v < previous.value(c))
                faults.append(
                    error(CheckTexts::normsFalls.arg(where).arg(v).arg(previous.value(c)).arg(raw - 1), raw, c));
            if (c >= 2 && c <= 6 && cells.contains(c - 1) && v > cells.value(c - 1))
                faults.append(
                    warning(CheckTexts::normsRisesWithAge.arg(where).arg(v).arg(cells.value(c - 1)).arg(header[c - 1]),
                        raw, c));
            if (c >= 7 && cells.contains(c - 6)) {
                const double expected = normalPercentile(cells.value(c - 6));
                if (std::abs(v - expected) > PercentileSlack)
                    faults.append(warning(
                        CheckTexts::normsPercentile.arg(where).arg(v).arg(cells.value(c - 6)).arg(expected, 0, 'f', 1),
                        raw, c));
            }
        }
    }
    return faults;
}

QVector<PackFault> check(const ContentPack &pack, Fields fields)
{
    QVector<PackFault> faults;
    checkFields(pack, fields, &faults);
    checkWithLoader(pack, &faults);
    checkPictures(pack, &faults);
    const QString norms = pack.manifest().value(QStringLiteral("norms")).toString();
    if (pack.files().contains(norms))
        faults += checkNorms(parseTable(QString::fromUtf8(pack.file(norms))));
    return faults;
}

bool hasErrors(const QVector<PackFault> &faults)
{
    for (const PackFault &f : faults) {
        if (f.isError())
            return true;
    }
    return false;
}

QStringList describe(const QVector<PackFault> &faults)
{
    QStringList lines;
    for (const PackFault &f : faults)
        lines.append((f.isError() ? QStringLiteral("error: ") : QStringLiteral("warning: ")) + f.text);
    return lines;
}

} // namespace PackCheck
