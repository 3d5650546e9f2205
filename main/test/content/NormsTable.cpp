#include "test/content/NormsTable.h"

#include "data/Schema.h"
#include "test/content/PackCheck.h"

namespace NormsTable {

QVector<QStringList> blank()
{
    const QStringList header = Schema::ppp().fields;
    QVector<QStringList> table { header };
    for (int raw = PackCheck::LowestRaw; raw <= PackCheck::HighestRaw; ++raw) {
        QStringList row(header.size());
        row[0] = QString::number(raw);
        table.append(row);
    }
    return table;
}

int paste(QVector<QStringList> *table, int row, int column, const QString &text)
{
    const QVector<QStringList> block = PackCheck::parseTable(text);
    if (block.isEmpty())
        return 0;
    if (block.first().value(0).compare(QLatin1String("Code"), Qt::CaseInsensitive) == 0) {
        *table = block;
        return int(block.size() - 1) * int(block.first().size() - 1);
    }
    if (table->isEmpty())
        *table = blank();
    int set = 0;
    for (int r = 0; r < block.size(); ++r) {
        const int target = row + r + 1;
        if (target >= table->size())
            break;
        QStringList &cells = (*table)[target];
        for (int c = 0; c < block[r].size(); ++c) {
            const int at = column + c + 1;
            if (at >= cells.size())
                break;
            cells[at] = block[r][c];
            ++set;
        }
    }
    return set;
}

QString toCsv(const QVector<QStringList> &table)
{
    QString csv;
    for (const QStringList &row : table)
        csv += row.join(QLatin1Char(',')) + QLatin1Char('\n');
    return csv;
}

} // namespace NormsTable
