#include "data/RecordSource.h"

#include "data/Schema.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <algorithm>

namespace {

// Rows are kept packed, one string per row, so a 100,000-row answer table
// costs one allocation per row instead of one per value. Each value is its
// length (one QChar, or 0xFFFF and two more for long values) then its text.
void appendPacked(QString &packed, const QString &value)
{
    const qsizetype n = value.size();
    if (n < 0xFFFF) {
        packed.append(QChar(ushort(n)));
    } else {
        packed.append(QChar(ushort(0xFFFF)));
        packed.append(QChar(ushort(n >> 16)));
        packed.append(QChar(ushort(n & 0xFFFF)));
    }
    packed.append(value);
}

// Most values are digits or Latin letters: those are widened in place;
// anything else is decoded as UTF-8.
void appendUtf8(QString &packed, const char *text, int bytes)
{
    bool ascii = true;
    for (int i = 0; i < bytes && ascii; ++i)
        ascii = static_cast<unsigned char>(text[i]) < 0x80;
    if (!ascii) {
        appendPacked(packed, QString::fromUtf8(text, bytes));
        return;
    }
    if (bytes >= 0xFFFF) {
        appendPacked(packed, QString::fromLatin1(text, bytes));
        return;
    }
    const qsizetype at = packed.size();
    packed.resize(at + 1 + bytes);
    QChar *out = packed.data() + at;
    *out++ = QChar(ushort(bytes));
    for (int i = 0; i < bytes; ++i)
        *out++ = QChar(ushort(static_cast<unsigned char>(text[i])));
}

QStringView unpackView(const QString &packed, int index)
{
    qsizetype pos = 0;
    for (int i = 0;; ++i) {
        if (pos >= packed.size())
            return QStringView();
        qsizetype n = packed.at(pos).unicode();
        ++pos;
        if (n == 0xFFFF) {
            n = (qsizetype(packed.at(pos).unicode()) << 16) | packed.at(pos + 1).unicode();
            pos += 2;
        }
        if (i == index)
            return QStringView(packed).mid(pos, n);
        pos += n;
    }
}

QString unpack(const QString &packed, int index)
{
    return unpackView(packed, index).toString();
}

// Qt's SQLite driver hands out its sqlite3 handle; reading a large table
// through it directly is several times faster than value() per cell.
sqlite3 *nativeHandle(const QSqlDatabase &db)
{
    const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

bool sqlFail(QString *error, const QSqlQuery &q)
{
    if (error)
        *error = q.lastError().text();
    return false;
}

} // namespace

RecordSource::RecordSource(QObject *parent)
    : QObject(parent)
{
}

bool OpenRecordSources(std::initializer_list<RecordSourceTable> sources, QString *error)
{
    for (const RecordSourceTable &s : sources) {
        if (!Database::open(s.file, error))
            return false;
        QString message;
        if (!s.source->open(s.file, QLatin1String(s.table), &message)) {
            if (error)
                *error = QStringLiteral("%1: %2").arg(Database::fileName(s.file), message);
            return false;
        }
    }
    return true;
}

bool RecordSource::open(Database::File file, const QString &table, QString *error)
{
    m_file = file;
    m_table = table;
    m_open = refresh(error);
    return m_open;
}

bool RecordSource::refresh(QString *error)
{
    if (sqlite3 *handle = nativeHandle(Database::connection(m_file)))
        return refreshNative(handle, error);
    QSqlQuery q(Database::connection(m_file));
    q.setForwardOnly(true);
    // The whole table in stored order, as the windows expect.
    if (!q.exec(QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(Schema::quoted(m_table))))
        return sqlFail(error, q);
    const QSqlRecord record = q.record();
    QStringList fields;
    for (int i = 1; i < record.count(); ++i)
        fields << record.fieldName(i);
    std::vector<Row> rows;
    const int n = int(fields.size());
    while (q.next()) {
        Row row;
        row.rowid = q.value(0).toLongLong();
        row.key = row.rowid;
        for (int i = 1; i <= n; ++i)
            appendPacked(row.packed, q.value(i).toString());
        rows.push_back(std::move(row));
    }
    if (q.lastError().isValid())
        return sqlFail(error, q);
    adopt(fields, std::move(rows));
    return true;
}

// A fresh snapshot: no filter, no pending values, the first row current.
void RecordSource::adopt(const QStringList &fields, std::vector<Row> rows)
{
    m_fields = fields;
    m_rows = std::move(rows);
    m_pending.clear();
    setVisibleAll();
    m_current = m_visible.empty() ? -1 : 0;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

namespace {

// The last snapshot read of each table. A window opens several record
// sources over one table at once; while the file is unchanged (no change
// through our connection, none committed by another) they share one read.
struct SharedSnapshot
{
    sqlite3_int64 changes = -1;
    unsigned int dataVersion = 0;
    QStringList fields;
    std::vector<RecordSource::Row> rows;
};

QHash<QString, SharedSnapshot> &sharedSnapshots()
{
    static QHash<QString, SharedSnapshot> cache;
    return cache;
}

QString snapshotKey(sqlite3 *db, const QString &table)
{
    return QStringLiteral("%1/%2/%3").arg(quintptr(db)).arg(Database::generation()).arg(table);
}

// The pragma (unlike the file control) looks at the file itself, so it sees
// commits made by other connections.
unsigned int dataVersion(sqlite3 *db)
{
    unsigned int version = 0;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &stmt, nullptr) == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW)
        version = unsigned(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
    return version;
}

QStringList columnNames(sqlite3_stmt *stmt)
{
    QStringList fields;
    for (int i = 1; i < sqlite3_column_count(stmt); ++i)
        fields << QString::fromUtf8(sqlite3_column_name(stmt, i));
    return fields;
}

// The row a statement of "SELECT rowid, * ..." stands on; \a sizeHint is the
// packed size of a like row, if one is known.
RecordSource::Row readRow(sqlite3_stmt *stmt, qsizetype sizeHint)
{
    const int columns = sqlite3_column_count(stmt);
    RecordSource::Row row;
    row.rowid = sqlite3_column_int64(stmt, 0);
    row.key = row.rowid;
    row.packed.reserve(sizeHint + sizeHint / 4 + columns);
    for (int i = 1; i < columns; ++i)
        appendUtf8(
            row.packed, reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)), sqlite3_column_bytes(stmt, i));
    row.packed.squeeze();
    return row;
}

struct RowWrite
{
    QString table;
    qint64 rowid = 0;
};

// Puts one written row, read back as stored, into a table's snapshot; a
// row that is gone (deleted) is taken out. False when it cannot be read.
bool patchSnapshot(sqlite3 *db, SharedSnapshot &entry, const RowWrite &write)
{
    std::vector<RecordSource::Row> &rows = entry.rows;
    const auto at = std::lower_bound(
        rows.begin(), rows.end(), write.rowid, [](const RecordSource::Row &row, qint64 id) { return row.rowid < id; });
    const bool present = at != rows.end() && at->rowid == write.rowid;
    const QByteArray sql
        = QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid = ?").arg(Schema::quoted(write.table)).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK
        || sqlite3_bind_int64(stmt, 1, write.rowid) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return false;
    }
    const int rc = sqlite3_step(stmt);
    const bool ok = rc == SQLITE_DONE || (rc == SQLITE_ROW && columnNames(stmt) == entry.fields);
    if (rc == SQLITE_ROW && ok) {
        RecordSource::Row row = readRow(stmt, rows.empty() ? 0 : rows.front().packed.size());
        if (present)
            *at = std::move(row);
        else
            rows.insert(at, std::move(row));
    } else if (rc == SQLITE_DONE && present) {
        rows.erase(at);
    }
    sqlite3_finalize(stmt);
    return ok;
}

// The change count went from \a before to \a after through exactly \a writes:
// the snapshots read at \a before get those rows, and all are current again.
void applyWrites(sqlite3 *db, sqlite3_int64 before, sqlite3_int64 after, const std::vector<RowWrite> &writes)
{
    const unsigned int version = dataVersion(db);
    const QString prefix = snapshotKey(db, QString());
    auto &cache = sharedSnapshots();
    for (auto it = cache.begin(); it != cache.end();) {
        if (!it.key().startsWith(prefix) || it->changes != before || it->dataVersion != version) {
            ++it;
            continue;
        }
        bool patched = true;
        for (const RowWrite &w : writes) {
            if (it.key() == prefix + w.table)
                patched = patched && patchSnapshot(db, *it, w);
        }
        if (!patched) {
            it = cache.erase(it);
            continue;
        }
        it->changes = after;
        ++it;
    }
}

// The writes of the transaction open on a connection, applied once it commits.
struct TransactionWrites
{
    sqlite3_int64 first = -1; ///< the change count before the first write
    sqlite3_int64 last = -1; ///< and after the latest
    bool broken = false; ///< a write changed more than its row, or one was missed
    std::vector<RowWrite> writes;
};

QHash<sqlite3 *, TransactionWrites> &openTransactions()
{
    static QHash<sqlite3 *, TransactionWrites> open;
    return open;
}

/// Notes a write to one row of a table through our connection in the shared
/// snapshots, so the next refresh of any source need not read a whole table
/// again: the row is read back as stored into its table's snapshot, and the
/// other tables' snapshots stay current. Inside a transaction the writes
/// wait for the commit. Anything but single changed rows in an unbroken
/// chain (a trigger's extra changes, a commit by another connection, a write
/// not noted, a rollback) leaves the snapshots stale, and the next refresh
/// reads the table.
class SnapshotNote
{
public:
    SnapshotNote(const QSqlDatabase &connection, const QString &table)
        : m_db(nativeHandle(connection))
        , m_table(table)
    {
        if (!m_db)
            return;
        m_before = sqlite3_total_changes64(m_db);
        m_inTransaction = !sqlite3_get_autocommit(m_db);
    }

    /// The statement succeeded and changed (added, updated or deleted) the
    /// row \a rowid.
    void changed(qint64 rowid) { note({ m_table, rowid }); }

private:
    void note(const RowWrite &write)
    {
        if (!m_db)
            return;
        const sqlite3_int64 after = sqlite3_total_changes64(m_db);
        const bool single = after == m_before + 1;
        if (m_inTransaction) {
            if (sqlite3_get_autocommit(m_db))
                return;
            TransactionWrites &t = openTransactions()[m_db];
            if (t.writes.empty() && !t.broken)
                t.first = m_before;
            else if (t.last != m_before)
                t.broken = true;
            t.broken = t.broken || !single;
            t.last = after;
            t.writes.push_back(write);
            return;
        }
        // Notes of a transaction whose end was not seen say nothing now.
        openTransactions().remove(m_db);
        if (single && sqlite3_get_autocommit(m_db))
            applyWrites(m_db, m_before, after, { write });
    }

    sqlite3 *m_db = nullptr;
    QString m_table;
    sqlite3_int64 m_before = -1;
    bool m_inTransaction = false;
};

} // namespace

void RecordSource::transactionEnded(const QSqlDatabase &connection, bool committed)
{
    sqlite3 *db = nativeHandle(connection);
    if (!db)
        return;
    const TransactionWrites t = openTransactions().take(db);
    if (committed && !t.broken && !t.writes.empty() && sqlite3_get_autocommit(db)
        && sqlite3_total_changes64(db) == t.last)
        applyWrites(db, t.first, t.last, t.writes);
}

bool RecordSource::refreshNative(void *handle, QString *error)
{
    auto *db = static_cast<sqlite3 *>(handle);
    // Inside a transaction a later rollback could undo what is read now.
    const bool shareable = sqlite3_get_autocommit(db) != 0;
    const QString cacheKey = snapshotKey(db, m_table);
    sqlite3_int64 changes = 0;
    unsigned int version = 0;
    if (shareable) {
        changes = sqlite3_total_changes64(db);
        version = dataVersion(db);
        const auto hit = sharedSnapshots().constFind(cacheKey);
        if (hit != sharedSnapshots().constEnd() && hit->changes == changes && hit->dataVersion == version) {
            adopt(hit->fields, std::vector<Row>(hit->rows));
            return true;
        }
    }
    const QByteArray sql
        = QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(Schema::quoted(m_table)).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    const QStringList fields = columnNames(stmt);
    std::vector<Row> rows;
    int rc;
    // Rows of one table are alike: each is sized from the one before.
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        rows.push_back(readRow(stmt, rows.empty() ? 0 : rows.back().packed.size()));
    if (rc != SQLITE_DONE) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
        return false;
    }
    sqlite3_finalize(stmt);
    if (shareable) {
        if (sharedSnapshots().size() > 16)
            sharedSnapshots().clear();
        sharedSnapshots().insert(cacheKey, { changes, version, fields, rows });
    }
    adopt(fields, std::move(rows));
    return true;
}

void RecordSource::setVisibleAll()
{
    m_filtered = false;
    m_visible.resize(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_visible[i] = int(i);
}

void RecordSource::setFilter(const QString &fieldName, const QString &value)
{
    const int f = fieldIndex(fieldName);
    m_visible.clear();
    m_filtered = true;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (f >= 0 && unpackView(m_rows[i].packed, f) == value)
            m_visible.push_back(int(i));
    }
    m_current = m_visible.empty() ? -1 : 0;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

void RecordSource::clearFilter()
{
    setVisibleAll();
    m_current = m_visible.empty() ? -1 : 0;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

void RecordSource::emitMoved()
{
    Q_EMIT currentChanged();
}

void RecordSource::setCurrentRow(int visibleRow)
{
    const int target = visibleRow >= 0 && visibleRow < rowCount() ? visibleRow : -1;
    if (target == m_current)
        return;
    m_current = target;
    emitMoved();
}

void RecordSource::moveFirst()
{
    setCurrentRow(rowCount() > 0 ? 0 : -1);
}
void RecordSource::moveLast()
{
    setCurrentRow(rowCount() - 1);
}
void RecordSource::moveNext()
{
    setCurrentRow(qMin(m_current + 1, rowCount() - 1));
}
void RecordSource::movePrevious()
{
    setCurrentRow(qMax(m_current - 1, 0));
}

void RecordSource::addNew()
{
    Row row;
    row.key = m_nextNewKey--;
    for (int i = 0; i < m_fields.size(); ++i)
        appendPacked(row.packed, QString());
    m_rows.push_back(std::move(row));
    m_visible.push_back(int(m_rows.size()) - 1);
    m_current = rowCount() - 1;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

int RecordSource::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString RecordSource::storedValue(const Row &row, int fieldIndex) const
{
    return unpack(row.packed, fieldIndex);
}

const RecordSource::Row *RecordSource::currentRowData() const
{
    return m_current >= 0 ? &m_rows[size_t(m_visible[size_t(m_current)])] : nullptr;
}

QString RecordSource::value(int visibleRow, int f) const
{
    if (visibleRow < 0 || visibleRow >= rowCount() || f < 0 || f >= m_fields.size())
        return QString();
    const Row &row = m_rows[size_t(m_visible[size_t(visibleRow)])];
    const auto p = m_pending.constFind(row.key);
    if (p != m_pending.constEnd()) {
        const auto v = p->constFind(f);
        if (v != p->constEnd())
            return *v;
    }
    return storedValue(row, f);
}

void RecordSource::rowValues(int visibleRow, QStringList *values) const
{
    const int n = int(m_fields.size());
    values->resize(n);
    if (visibleRow < 0 || visibleRow >= rowCount()) {
        for (QString &v : *values)
            v.clear();
        return;
    }
    const Row &row = m_rows[size_t(m_visible[size_t(visibleRow)])];
    const QString &packed = row.packed;
    qsizetype pos = 0;
    for (int i = 0; i < n; ++i) {
        qsizetype length = 0;
        if (pos < packed.size()) {
            length = packed.at(pos).unicode();
            ++pos;
            if (length == 0xFFFF) {
                length = (qsizetype(packed.at(pos).unicode()) << 16) | packed.at(pos + 1).unicode();
                pos += 2;
            }
        }
        (*values)[i] = length ? QString::fromRawData(packed.constData() + pos, length) : QString();
        pos += length;
    }
    const auto p = m_pending.constFind(row.key);
    if (p != m_pending.constEnd()) {
        for (auto v = p->cbegin(); v != p->cend(); ++v)
            (*values)[v.key()] = v.value();
    }
}

QString RecordSource::field(const QString &name) const
{
    return value(m_current, fieldIndex(name));
}

void RecordSource::setField(const QString &name, const QString &value)
{
    const Row *row = currentRowData();
    const int f = fieldIndex(name);
    if (!row || f < 0)
        return;
    if (this->value(m_current, f) == value && !m_pending.value(row->key).contains(f) && row->rowid != 0)
        return;
    m_pending[row->key][f] = value;
    Q_EMIT currentChanged();
}

bool RecordSource::hasPending() const
{
    const Row *row = currentRowData();
    return row && (row->rowid == 0 || m_pending.contains(row->key));
}

bool RecordSource::update(QString *error)
{
    if (m_current < 0)
        return true;
    Row &row = m_rows[size_t(m_visible[size_t(m_current)])];
    const QHash<int, QString> pending = m_pending.value(row.key);
    QSqlDatabase db = Database::connection(m_file);
    QSqlQuery q(db);
    if (row.rowid == 0) {
        QStringList columns, marks;
        for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
            columns << Schema::quoted(m_fields[it.key()]);
            marks << QStringLiteral("?");
        }
        if (columns.isEmpty())
            q.prepare(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Schema::quoted(m_table)));
        else
            q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(Schema::quoted(m_table), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        for (auto it = pending.cbegin(); it != pending.cend(); ++it)
            q.addBindValue(it.value());
        SnapshotNote note(db, m_table);
        if (!q.exec())
            return sqlFail(error, q);
        row.rowid = q.lastInsertId().toLongLong();
        note.changed(row.rowid);
    } else {
        if (pending.isEmpty())
            return true;
        QStringList sets;
        for (auto it = pending.cbegin(); it != pending.cend(); ++it)
            sets << Schema::quoted(m_fields[it.key()]) + QStringLiteral(" = ?");
        q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                      .arg(Schema::quoted(m_table), sets.join(QLatin1Char(','))));
        for (auto it = pending.cbegin(); it != pending.cend(); ++it)
            q.addBindValue(it.value());
        q.addBindValue(row.rowid);
        SnapshotNote note(db, m_table);
        if (!q.exec())
            return sqlFail(error, q);
        if (q.numRowsAffected() == 0) {
            if (error)
                *error = QStringLiteral("The row was removed from %1 by another window.").arg(m_table);
            return false;
        }
        note.changed(row.rowid);
    }
    QString packed;
    for (int f = 0; f < m_fields.size(); ++f)
        appendPacked(packed, pending.contains(f) ? pending.value(f) : storedValue(row, f));
    row.packed = packed;
    m_pending.remove(row.key);
    Q_EMIT currentChanged();
    return true;
}

void RecordSource::cancelUpdate()
{
    const Row *row = currentRowData();
    if (!row || !m_pending.contains(row->key))
        return;
    m_pending.remove(row->key);
    Q_EMIT currentChanged();
}

bool RecordSource::deleteCurrent(QString *error)
{
    if (m_current < 0)
        return true;
    const int index = m_visible[size_t(m_current)];
    const Row &row = m_rows[size_t(index)];
    if (row.rowid != 0) {
        const QSqlDatabase db = Database::connection(m_file);
        QSqlQuery q(db);
        q.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(Schema::quoted(m_table)));
        q.addBindValue(row.rowid);
        SnapshotNote note(db, m_table);
        if (!q.exec())
            return sqlFail(error, q);
        note.changed(row.rowid);
    }
    m_pending.remove(row.key);
    m_rows.erase(m_rows.begin() + index);
    m_visible.erase(m_visible.begin() + m_current);
    for (int &v : m_visible) {
        if (v > index)
            --v;
    }
    if (m_current >= rowCount())
        m_current = rowCount() - 1;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
    return true;
}
