#pragma once

#include <QDateTime>
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <limits>
#include <vector>

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

/// How long each item had been shown at its final click (the LatencyMs of
/// its last row), for every examinee of the log at once.
class FinalLatencies
{
public:
    static constexpr qint64 kNone = std::numeric_limits<qint64>::min();

    /// Reads the whole log in one pass. A file from before the log has no
    /// latencies; that is no failure.
    bool read(QSqlDatabase db, QString *error);
    /// The 36 latencies of \a code's items 1..36 in ms, kNone where the item
    /// has no row (or its last row no latency); nullptr when the examinee has
    /// no row at all.
    const qint64 *of(const QString &code) const;
    int examinees() const { return int(m_index.size()); }

private:
    QHash<QString, int> m_index; ///< code -> block in m_ms
    std::vector<qint64> m_ms; ///< 36 per examinee
};

} // namespace AnswerLog
