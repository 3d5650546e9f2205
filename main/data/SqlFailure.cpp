#include "data/SqlFailure.h"

#include "data/DataTexts.h"

#include <QSqlError>

#include <sqlite3.h>

namespace {

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

} // namespace

QString SqliteFailureText(int code)
{
    return SqliteFailureText(code, DataTexts::storeFailed);
}

QString SqliteFailureText(int code, const QString &otherwise)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DataTexts::locked;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return DataTexts::readOnlyFile;
    case SQLITE_FULL:
        return DataTexts::diskFull;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return DataTexts::ioError;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return DataTexts::damaged;
    default:
        break;
    }
    return otherwise;
}

QString SqlFailureText(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code < 0 ? DataTexts::storeFailed : SqliteFailureText(code);
}

bool IsLockedFailure(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}
