#include "data/AnswerLog.h"

#include "data/NativeSqlite.h"
#include "data/SqlFailure.h"

#include <QSet>
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

bool sqliteFail(QString *error, sqlite3 *db)
{
    if (error)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    return false;
}

constexpr int kItems = 36;

bool prepare(sqlite3 *db, const char *sql, SqliteStatement *s, QString *error)
{
    return sqlite3_prepare_v2(db, sql, -1, &s->stmt, nullptr) == SQLITE_OK || sqliteFail(error, db);
}

// One row's item and latency into the examinee's block. Each column read
// takes the connection's lock: no more of them than needed (a null or
// foreign item reads as 0, which is no item).
void take(sqlite3_stmt *stmt, int itemColumn, qint64 *block)
{
    const qint64 item = sqlite3_column_int64(stmt, itemColumn);
    if (item < 1 || item > kItems)
        return;
    const qint64 ms = sqlite3_column_int64(stmt, itemColumn + 1);
    block[item - 1]
        = ms != 0 || sqlite3_column_type(stmt, itemColumn + 1) == SQLITE_INTEGER ? ms : FinalLatencies::kNone;
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

bool FinalLatencies::read(QSqlDatabase db, QString *error)
{
    m_index.clear();
    m_ms.clear();
    sqlite3 *handle = NativeSqliteHandle(db);
    if (!handle) {
        if (error)
            *error = QStringLiteral("the examinee file is not open");
        return false;
    }
    SqliteStatement exists;
    if (!prepare(handle, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'AnswerLog'", &exists, error))
        return false;
    const int found = sqlite3_step(exists.stmt);
    if (found == SQLITE_DONE)
        return true;
    if (found != SQLITE_ROW)
        return sqliteFail(error, handle);

    // Stored order, no sort: a test's clicks are stored one after another,
    // so each examinee's rows come in rising Seq and the last row of an item
    // is the last one met. An examinee whose rows come otherwise (a file
    // pieced together by hand) is read again in Seq order below.
    SqliteStatement all;
    if (!prepare(handle, "SELECT \"Code\", \"Seq\", \"Item\", \"LatencyMs\" FROM \"AnswerLog\"", &all, error))
        return false;
    std::vector<qint64> lastSeq;
    QSet<int> unordered;
    QByteArray previous;
    int block = -1;
    int rc;
    while ((rc = sqlite3_step(all.stmt)) == SQLITE_ROW) {
        const char *code = reinterpret_cast<const char *>(sqlite3_column_text(all.stmt, 0));
        if (!code)
            continue;
        const int bytes = sqlite3_column_bytes(all.stmt, 0);
        if (block < 0 || previous.size() != bytes || memcmp(previous.constData(), code, size_t(bytes)) != 0) {
            previous = QByteArray(code, bytes);
            const QString key = QString::fromUtf8(previous);
            const auto it = m_index.constFind(key);
            if (it != m_index.constEnd()) {
                block = it.value();
            } else {
                block = int(m_index.size());
                m_index.insert(key, block);
                m_ms.resize(m_ms.size() + kItems, kNone);
                lastSeq.push_back(std::numeric_limits<qint64>::min());
            }
        }
        const qint64 seq = sqlite3_column_int64(all.stmt, 1);
        if (seq <= lastSeq[size_t(block)])
            unordered.insert(block);
        lastSeq[size_t(block)] = seq;
        take(all.stmt, 2, &m_ms[size_t(block) * kItems]);
    }
    if (rc != SQLITE_DONE)
        return sqliteFail(error, handle);
    if (unordered.isEmpty())
        return true;

    SqliteStatement one;
    if (!prepare(handle, "SELECT \"Item\", \"LatencyMs\" FROM \"AnswerLog\" WHERE \"Code\" = ? ORDER BY \"Seq\", rowid",
            &one, error))
        return false;
    for (auto it = m_index.cbegin(); it != m_index.cend(); ++it) {
        if (!unordered.contains(it.value()))
            continue;
        qint64 *ms = &m_ms[size_t(it.value()) * kItems];
        std::fill(ms, ms + kItems, kNone);
        const QByteArray code = it.key().toUtf8();
        sqlite3_reset(one.stmt);
        sqlite3_bind_text(one.stmt, 1, code.constData(), int(code.size()), SQLITE_TRANSIENT);
        while ((rc = sqlite3_step(one.stmt)) == SQLITE_ROW)
            take(one.stmt, 0, ms);
        if (rc != SQLITE_DONE)
            return sqliteFail(error, handle);
    }
    return true;
}

const qint64 *FinalLatencies::of(const QString &code) const
{
    const auto it = m_index.constFind(code);
    return it == m_index.constEnd() ? nullptr : &m_ms[size_t(it.value()) * kItems];
}

} // namespace AnswerLog
