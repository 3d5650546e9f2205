#pragma once

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

// Qt's SQLite driver hands out its sqlite3 handle; reading a large table
// through it directly is several times faster than value() per cell.
inline sqlite3 *NativeSqliteHandle(const QSqlDatabase &db)
{
    const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

/// Finalizes the statement however the read ends.
struct SqliteStatement
{
    sqlite3_stmt *stmt = nullptr;
    SqliteStatement() = default;
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;
    ~SqliteStatement() { sqlite3_finalize(stmt); }
};
