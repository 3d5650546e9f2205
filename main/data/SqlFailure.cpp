#include "data/SqlFailure.h"

#include "data/DataTexts.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QSqlError>

#include <cerrno>

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

QString FileFailureText(const QFileDevice &file)
{
    if (file.error() == QFileDevice::NoError)
        return QString();
    // Qt words a failed call as the system's own text for its errno; that is
    // the only trace of why it failed.
    const QString said = file.errorString();
    const auto is = [&said](int code) { return said == qt_error_string(code); };
    const QString where = QDir::toNativeSeparators(QFileInfo(file.fileName()).absoluteFilePath());
    if (is(ENOSPC) || is(EDQUOT))
        return DataTexts::diskFull;
    if (is(EROFS) || is(EACCES) || is(EPERM))
        return DataTexts::fileReadOnly.arg(where);
    if (is(ENOENT) || is(ENOTDIR))
        return DataTexts::notFound.arg(where);
    return DataTexts::ioError;
}
