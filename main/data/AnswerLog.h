#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

/// Every recorded click of a test in the examinee file's AnswerLog table:
/// the item, the option, how long the item had been shown and when. Rows
/// are numbered 1, 2, 3 ... per examinee in the order of the clicks.
namespace AnswerLog {

struct Click
{
    int item = 0;
    int choice = 0;
    qint64 latencyMs = 0;
    QDateTime at;
};

struct Row
{
    int seq = 0;
    Click click;
};

/// Adds \a click as the examinee's next row. Callers write it in the same
/// transaction as the Answer row it changes, so the two never disagree.
bool append(QSqlDatabase db, const QString &code, const Click &click, QString *error);
/// Removes all rows of the examinee (with the examinee, in one transaction).
bool remove(QSqlDatabase db, const QString &code, QString *error);
/// The examinee's rows in order.
QVector<Row> read(QSqlDatabase db, const QString &code, QString *error = nullptr);

/// The last logged choice of each item 1..36 (index 0 unused; 0 where the
/// item has no row).
QVector<int> lastChoices(const QVector<Row> &rows);

} // namespace AnswerLog
