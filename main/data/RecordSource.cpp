#include "data/RecordSource.h"

#include "data/DataTexts.h"
#include "data/NativeSqlite.h"
#include "data/RecordSourceTexts.h"
#include "data/Schema.h"
#include "data/SqlFailure.h"

#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <optional>

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

// The user reads what went wrong in Persian, never SQLite's own English.
bool sqlFail(QString *error, const QSqlQuery &q)
{
    if (error)
        *error = SqlFailureText(q.lastError());
    return false;
}

QString sqliteFailureText(sqlite3 *db)
{
    return SqliteFailureText(sqlite3_errcode(db), DataTexts::readFailed);
}

QStringList columnNames(sqlite3_stmt *stmt)
{
    QStringList fields;
    for (int i = 1; i < sqlite3_column_count(stmt); ++i)
        fields << QString::fromUtf8(sqlite3_column_name(stmt, i));
    return fields;
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
        const QString table = QLatin1String(s.table);
        const bool opened = s.keyField ? s.source->openWhere(s.file, table, QLatin1String(s.keyField), s.key, &message)
                                       : s.source->open(s.file, table, &message);
        if (!opened) {
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
    m_readAt = FileState(); // what was read before is of another table
    m_open = refresh(error);
    return m_open;
}

bool RecordSource::openWhere(
    Database::File file, const QString &table, const QString &field, const QString &value, QString *error)
{
    m_file = file;
    m_table = table;
    m_open = refreshWhere(field, value, error);
    return m_open;
}

namespace {

// Read only outside a transaction: a rollback takes back writes without
// counting as a change.
std::optional<qint64> dataVersion(sqlite3 *db)
{
    if (!sqlite3_get_autocommit(db))
        return std::nullopt;
    SqliteStatement s;
    if (sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &s.stmt, nullptr) != SQLITE_OK
        || sqlite3_step(s.stmt) != SQLITE_ROW)
        return std::nullopt;
    return sqlite3_column_int64(s.stmt, 0);
}

} // namespace

bool RecordSource::refresh(QString *error)
{
    // The whole table, as read last, unchanged since: nothing to read.
    sqlite3 *db = NativeSqliteHandle(Database::connection(m_file));
    const std::optional<qint64> version = db ? dataVersion(db) : std::nullopt;
    const FileState now { Database::generation(), db ? sqlite3_total_changes64(db) : -1, version.value_or(-1) };
    if (version && !isKeyed() && m_readAt == now) {
        std::vector<Row> rows;
        rows.reserve(m_rows.size());
        for (Row &row : m_rows) {
            if (row.rowid != 0)
                rows.push_back(std::move(row));
        }
        adopt(m_fields, std::move(rows));
        return true;
    }
    if (!read(QString(), QString(), error))
        return false;
    if (version)
        m_readAt = now;
    return true;
}

bool RecordSource::refreshWhere(const QString &field, const QString &value, QString *error)
{
    return read(field, value, error);
}

bool RecordSource::tableIsEmpty(QString *error) const
{
    QSqlQuery q(Database::connection(m_file));
    if (!q.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(Schema::quoted(m_table))) || !q.next()) {
        sqlFail(error, q);
        return true;
    }
    return !q.value(0).toBool();
}

// Reads the whole table, or with \a keyField the rows whose field equals
// \a key, in stored order, and makes it the source's snapshot.
bool RecordSource::read(const QString &keyField, const QString &key, QString *error)
{
    sqlite3 *db = NativeSqliteHandle(Database::connection(m_file));
    if (!db)
        return readFailure(DataTexts::notOpen, error);
    QString sql = QStringLiteral("SELECT rowid, * FROM %1").arg(Schema::quoted(m_table));
    if (!keyField.isEmpty())
        sql += QStringLiteral(" WHERE %1 = ?").arg(Schema::quoted(keyField));
    sql += QStringLiteral(" ORDER BY rowid");
    const QByteArray utf8 = sql.toUtf8();
    SqliteStatement s;
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &s.stmt, nullptr) != SQLITE_OK)
        return readFailure(sqliteFailureText(db), error);
    const QStringList fields = columnNames(s.stmt);
    if (!keyField.isEmpty()) {
        // SQLite would read an unknown quoted name as a text literal and
        // quietly match nothing.
        if (!fields.contains(keyField, Qt::CaseInsensitive))
            return readFailure(DataTexts::noField.arg(m_table, keyField), error);
        const QByteArray bound = key.toUtf8();
        if (sqlite3_bind_text(s.stmt, 1, bound.constData(), int(bound.size()), SQLITE_TRANSIENT) != SQLITE_OK)
            return readFailure(sqliteFailureText(db), error);
    }
    const int columns = sqlite3_column_count(s.stmt);
    std::vector<Row> rows;
    qsizetype sizeHint = 0; // rows of one table are alike: each is sized from the one before
    int rc;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        Row row;
        row.rowid = sqlite3_column_int64(s.stmt, 0);
        row.key = row.rowid;
        row.packed.reserve(sizeHint + sizeHint / 4 + columns);
        for (int i = 1; i < columns; ++i)
            appendUtf8(row.packed, reinterpret_cast<const char *>(sqlite3_column_text(s.stmt, i)),
                sqlite3_column_bytes(s.stmt, i));
        row.packed.squeeze();
        sizeHint = row.packed.size();
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        return readFailure(sqliteFailureText(db), error);
    m_keyField = keyField;
    m_key = key;
    m_readAt = FileState();
    adopt(fields, std::move(rows));
    return true;
}

// The message goes to the caller that asked for it, else to readFailed();
// a source not yet open reports only through its open().
bool RecordSource::readFailure(const QString &message, QString *error)
{
    if (error)
        *error = message;
    else if (m_open)
        Q_EMIT readFailed(message);
    return false;
}

// A fresh snapshot: no filter, no pending values, the first row current.
void RecordSource::adopt(const QStringList &fields, std::vector<Row> rows)
{
    m_fields = fields;
    m_rows = std::move(rows);
    m_pending.clear();
    setVisibleAll();
    m_filtered = isKeyed(); // a keyed read shows a part, like a filter
    m_current = m_visible.empty() ? -1 : 0;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

// A keyed source about to show rows it did not read: the whole table is
// read, and the edits not yet stored (pending values, added rows) carry over.
bool RecordSource::readWholeKeepingEdits()
{
    std::vector<Row> added;
    for (const Row &row : m_rows) {
        if (row.rowid == 0)
            added.push_back(row);
    }
    const auto pending = m_pending;
    QString error;
    bool whole;
    {
        const QSignalBlocker quiet(this); // the caller announces the outcome
        whole = read(QString(), QString(), &error);
    }
    if (!whole) {
        readFailure(error, nullptr);
        return false;
    }
    for (Row &row : added)
        m_rows.push_back(std::move(row));
    for (const Row &row : m_rows) {
        const auto p = pending.constFind(row.key);
        if (p != pending.constEnd())
            m_pending.insert(row.key, *p);
    }
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
    const bool onKey = fieldName.compare(m_keyField, Qt::CaseInsensitive) == 0 && value == m_key;
    if (isKeyed() && !onKey)
        readWholeKeepingEdits();
    showMatching(fieldIndex(fieldName), value);
}

void RecordSource::setFilter(const QString &fieldName, const QString &value, Fold fold)
{
    if (isKeyed())
        readWholeKeepingEdits();
    showMatching(fieldIndex(fieldName), value, fold);
}

void RecordSource::showMatching(int f, const QString &value, Fold fold)
{
    m_visible.clear();
    m_filtered = true;
    const QString wanted = fold ? fold(value) : value;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (f < 0)
            continue;
        const bool match = fold ? fold(unpackView(m_rows[i].packed, f).toString()) == wanted
                                : unpackView(m_rows[i].packed, f) == value;
        if (match)
            m_visible.push_back(int(i));
    }
    m_current = m_visible.empty() ? -1 : 0;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

void RecordSource::clearFilter()
{
    if (isKeyed())
        readWholeKeepingEdits();
    setVisibleAll();
    m_current = m_visible.empty() ? -1 : 0;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

void RecordSource::setCurrentRow(int visibleRow)
{
    const int target = visibleRow >= 0 && visibleRow < rowCount() ? visibleRow : -1;
    if (target == m_current)
        return;
    m_current = target;
    Q_EMIT currentChanged();
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

QString RecordSource::storedValue(int visibleRow, int f) const
{
    if (visibleRow < 0 || visibleRow >= rowCount() || f < 0 || f >= m_fields.size())
        return QString();
    return storedValue(m_rows[size_t(m_visible[size_t(visibleRow)])], f);
}

QString RecordSource::storedField(const QString &name) const
{
    return storedValue(m_current, fieldIndex(name));
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
    if (m_current < 0) {
        if (error)
            *error = RecordSourceTexts::noCurrentRow;
        return false;
    }
    Row &row = m_rows[size_t(m_visible[size_t(m_current)])];
    const QHash<int, QString> pending = m_pending.value(row.key);
    QSqlQuery q(Database::connection(m_file));
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
        if (!q.exec())
            return sqlFail(error, q);
        row.rowid = q.lastInsertId().toLongLong();
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
        if (!q.exec())
            return sqlFail(error, q);
        if (q.numRowsAffected() == 0) {
            if (error)
                *error = RecordSourceTexts::rowDeletedElsewhere;
            return false;
        }
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
    // Nothing removed is not a removal: the caller must not announce one.
    if (m_current < 0) {
        if (error)
            *error = RecordSourceTexts::noCurrentRow;
        return false;
    }
    const int index = m_visible[size_t(m_current)];
    const Row &row = m_rows[size_t(index)];
    if (row.rowid != 0) {
        QSqlQuery q(Database::connection(m_file));
        q.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(Schema::quoted(m_table)));
        q.addBindValue(row.rowid);
        if (!q.exec())
            return sqlFail(error, q);
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
