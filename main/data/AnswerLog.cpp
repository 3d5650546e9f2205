#include "data/AnswerLog.h"

#include "data/SqlFailure.h"

#include <QSqlError>
#include <QSqlQuery>

namespace AnswerLog {

namespace {

bool sqlFail(QString *error, const QSqlQuery &q)
{
    if (error)
        *error = SqlFailureText(q.lastError());
    return false;
}

} // namespace

bool append(QSqlDatabase db, const QString &code, const Click &click, QString *error)
{
    // The next number is taken inside the insert, through the index on Code.
    QSqlQuery q(db);
    q.prepare(
        QStringLiteral("INSERT INTO \"AnswerLog\" (\"Code\", \"Seq\", \"Item\", \"Choice\", \"LatencyMs\", \"At\") "
                       "SELECT ?, COALESCE(MAX(\"Seq\"), 0) + 1, ?, ?, ?, ? FROM \"AnswerLog\" WHERE \"Code\" = ?"));
    q.addBindValue(code);
    q.addBindValue(click.item);
    q.addBindValue(click.choice);
    q.addBindValue(click.latencyMs);
    q.addBindValue(click.at.toString(Qt::ISODateWithMs));
    q.addBindValue(code);
    return q.exec() || sqlFail(error, q);
}

bool remove(QSqlDatabase db, const QString &code, QString *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM \"AnswerLog\" WHERE \"Code\" = ?"));
    q.addBindValue(code);
    return q.exec() || sqlFail(error, q);
}

QVector<Row> read(QSqlDatabase db, const QString &code, QString *error)
{
    QVector<Row> rows;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT \"Seq\", \"Item\", \"Choice\", \"LatencyMs\", \"At\" FROM \"AnswerLog\" "
                             "WHERE \"Code\" = ? ORDER BY \"Seq\""));
    q.addBindValue(code);
    if (!q.exec()) {
        sqlFail(error, q);
        return rows;
    }
    while (q.next()) {
        rows.append({ q.value(0).toInt(),
            { q.value(1).toInt(), q.value(2).toInt(), q.value(3).toLongLong(),
                QDateTime::fromString(q.value(4).toString(), Qt::ISODateWithMs) } });
    }
    return rows;
}

QVector<int> lastChoices(const QVector<Row> &rows)
{
    QVector<int> last(37, 0);
    for (const Row &r : rows) {
        if (r.click.item >= 1 && r.click.item <= 36)
            last[r.click.item] = r.click.choice;
    }
    return last;
}

} // namespace AnswerLog
