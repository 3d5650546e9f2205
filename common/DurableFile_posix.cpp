#include "common/DurableFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace DurableFile {

namespace {

bool fail(QString *error, int code)
{
    if (error)
        *error = systemErrorText(code);
    return false;
}

} // namespace

void adviseSequential(QFile &file)
{
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
}

void startWriteback(QFile &file, qint64 offset, qint64 length)
{
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(file.handle(), offset, length, SYNC_FILE_RANGE_WRITE);
#else
    Q_UNUSED(file);
    Q_UNUSED(offset);
    Q_UNUSED(length);
#endif
}

bool flushToDisk(QFile &file, QString *error)
{
    if (!file.flush()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return ::fsync(file.handle()) == 0 || fail(error, errno);
}

bool flushPathToDisk(const QString &path, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return fail(error, errno);
    const bool synced = ::fsync(fd) == 0;
    const int code = errno;
    ::close(fd);
    return synced || fail(error, code);
}

bool renameIntoPlace(const QString &from, const QString &to, QString *error)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0
        || fail(error, errno);
}

// A rename is only durable once the folder's entry is on disk too.
void syncFolder(const QString &dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString systemErrorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString faultText(Fault fault)
{
    switch (fault) {
    case Fault::IsFolder:
        return systemErrorText(EISDIR);
    case Fault::AccessDenied:
        return systemErrorText(EACCES);
    case Fault::InputOutput:
        return systemErrorText(EIO);
    }
    return {};
}

} // namespace DurableFile
