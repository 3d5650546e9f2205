#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

/// The norms as the editor holds them: row 0 the header
/// (Code,5..10,5p..10p), then one row per raw score 5..36 with its 12 cells
/// as typed. PackCheck::checkNorms judges them.
namespace NormsTable {

/// Raw scores 5..36 with empty cells.
QVector<QStringList> blank();

/// \a text pasted at data cell (\a row 0 = raw score 5, \a column 0 = age 5
/// IQ): tab- or comma-separated lines fill the cells from there on, cells
/// beyond the table are dropped. A text that starts with the header row is
/// a whole table and replaces \a table. Returns the number of cells set.
int paste(QVector<QStringList> *table, int row, int column, const QString &text);

/// The CSV text of a pack's norms.csv.
QString toCsv(const QVector<QStringList> &table);

} // namespace NormsTable
