#include "updater/FileDownloader.h"

#include "updater/UpdaterRules.h"
#include "updater/UpdaterWindowTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>

namespace {

const char kGettingFileInformation[] = "Getting file information";
const char kNothingToDownload[] = "Nothing to download!";
const char kAuthorizationFailed[] = "Authorization failed!";
const char kNotFound[] = "The file, \"%1\" was not found!";
const char kCannotConnect[] = "Cannot establish connection.";
const char kServerResponse[] = "The server returned the following response:\r\r";
const char kNothing[] = "<nothing>";
const char kNoSpace[] = "There is not enough free space on disk for this file.";
const char kNetworkFailure[] = "Error: %1 occurred.";
const char kFileFailure[] = "Cannot write file to disk.\r\rError %1: %2";
const char kConnectionReset[] = "The connection with the server was reset.";

constexpr qint64 kChunkSize = 1024;
// Letting the event loop run costs a poll of every source; after each of
// half a million chunks that would halve the speed. A hundred times a second
// keeps the window as responsive, and waits for data always let it run.
constexpr qint64 kEventIntervalMs = 10;

// The folder may not exist yet: ask the nearest one that does.
qint64 freeSpaceFor(const QString &destination)
{
    QDir dir = QFileInfo(destination).absoluteDir();
    while (!dir.exists() && !dir.isRoot())
        dir.setPath(QFileInfo(dir.absolutePath()).absolutePath());
    const QStorageInfo storage(dir.absolutePath());
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

FileDownloader::FileDownloader(QObject *parent)
    : QObject(parent)
    , m_request(this)
{
    m_request.setTimeouts(kConnectSeconds, kLowSpeedSeconds, kLowSpeedBytes);
}

void FileDownloader::setTimeouts(int connectSeconds, int lowSpeedSeconds, int lowSpeedBytes)
{
    m_request.setTimeouts(connectSeconds, lowSpeedSeconds, lowSpeedBytes);
}

void FileDownloader::Cancel()
{
    m_cancel = true;
    m_request.interrupt();
}

bool FileDownloader::DownloadFile(
    const QString &url, const QString &destination, const QString &userName, const QString &password)
{
    // One download at a time: a second call from a handler inside the first
    // would share the request.
    if (m_running)
        return false;
    m_running = true;
    m_cancel = false;
    m_received = 0;
    m_length = 0;

    emit DownloadEvents(QString::fromLatin1(kGettingFileInformation));
    QCoreApplication::processEvents();
    m_request.start(url, userName, password, { "Range: bytes=0-", "Accept-Encoding: identity" });

    const bool bodyPhase = receiveHead() && checkLength(destination);
    if (bodyPhase) {
        receiveBody(destination);
        checkEnd();
    }
    const bool result = finish(destination, bodyPhase);
    m_running = false;
    return result;
}

bool FileDownloader::receiveHead()
{
    while (m_request.stillExecuting()) {
        if (m_cancel)
            return false;
        m_request.waitForEvents();
    }
    if (m_cancel)
        return false;

    const QByteArray head = m_request.header();
    if (head.isEmpty() && m_request.failed()) {
        report(QString::fromLatin1(kNetworkFailure).arg(m_request.errorString()));
        return false;
    }
    const QByteArray status = head.mid(9, 3);
    if (status == "200" || status == "206") {
        // A head curl gave up on (too large, trickled past the limit) is no
        // answer to download from.
        if (m_request.failed() && !m_request.headComplete()) {
            report(QString::fromLatin1(kNetworkFailure).arg(m_request.errorString()));
            return false;
        }
        return true;
    }
    if (status == "204") {
        report(QString::fromLatin1(kNothingToDownload));
    } else if (status == "401") {
        report(QString::fromLatin1(kAuthorizationFailed));
    } else if (status == "404") {
        report(QString::fromLatin1(kNotFound).arg(m_request.url()));
    } else if (status == "\r\n") {
        report(QString::fromLatin1(kCannotConnect));
    } else {
        const qsizetype cr = head.indexOf('\r');
        const QByteArray firstLine = cr >= 0 ? head.left(cr + 1) : QByteArray();
        report(QString::fromLatin1(kServerResponse)
            + (firstLine.isEmpty() ? QString::fromLatin1(kNothing) : QString::fromLatin1(firstLine)));
    }
    return false;
}

bool FileDownloader::checkLength(const QString &destination)
{
    const QString length = QString::fromLatin1(m_request.header("Content-Length"));
    // Without a usable length (none, chunked, 0, negative) the body is read
    // until the answer ends; an empty one is reported then.
    m_length = std::max<qint64>(0, UpdaterRules::roundHalfEven(UpdaterRules::leadingNumber(length)));
    const qint64 freeSpace = m_length > 0 ? freeSpaceFor(destination) : -1;
    if (freeSpace >= 0 && freeSpace < m_length) {
        report(QString::fromLatin1(kNoSpace));
        return false;
    }
    QCoreApplication::processEvents();
    m_received = 0;
    return true;
}

void FileDownloader::receiveBody(const QString &destination)
{
    const QString folder = QFileInfo(destination).absolutePath();
    if (!QFileInfo::exists(folder)) {
        errno = 0;
        if (!QDir().mkdir(folder)) {
            const int code = errno ? errno : EACCES;
            reportFileFailure(code, systemError(code));
            return;
        }
    }
    QFile file(destination);
    // Truncate: bytes of an older, longer file must not stay behind.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        reportFileFailure(int(file.error()), file.errorString());
        return;
    }
    char chunk[kChunkSize];
    qint64 n = 0;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    do {
        n = m_request.getChunk(chunk, kChunkSize);
        if (file.write(chunk, n) != n) {
            reportFileFailure(int(file.error()), file.errorString());
            break;
        }
        if (m_sink && n > 0)
            m_sink(chunk, n);
        if (m_cancel)
            break;
        m_received += n;
        if (m_length > 0)
            emit DownloadProgress(UpdaterRules::percentText(m_received, m_length));
        if (sinceEvents.hasExpired(kEventIntervalMs)) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
    } while (n > 1);
    if (!file.flush() && !m_cancel)
        reportFileFailure(int(file.error()), file.errorString());
    file.close();
}

void FileDownloader::checkEnd()
{
    if (m_cancel)
        return;
    // A server that closes early is the reset below when the length was
    // announced; every other failure of the transfer is curl's to name.
    if (m_request.failed() && !m_request.endedEarly())
        report(QString::fromLatin1(kNetworkFailure).arg(m_request.errorString()));
    else if (m_length == 0 && m_request.endedEarly())
        report(QString::fromLatin1(kConnectionReset));
    else if (m_length == 0 && m_received == 0)
        report(UpdaterWindowTexts::EmptyDownload);
}

bool FileDownloader::finish(const QString &destination, bool bodyPhase)
{
    bool result = false;
    bool whole = m_length > 0 ? m_received == m_length : !bodyPhase || m_received > 0;
    // Failed or cancelled while the body came: never whole.
    if (bodyPhase && m_cancel)
        whole = false;
    if (whole) {
        if (!m_cancel)
            emit DowloadComplete();
        result = true;
    } else {
        if (!QFile::exists(destination))
            m_cancel = true;
        else if (!m_cancel)
            emit DownloadErrors(QString::fromLatin1(kConnectionReset));
        if (QFile::exists(destination))
            QFile::remove(destination);
    }
    m_request.cancel();
    return result;
}

void FileDownloader::report(const QString &message)
{
    emit DownloadErrors(message);
    m_cancel = true;
}

void FileDownloader::reportFileFailure(int code, const QString &description)
{
    report(QString::fromLatin1(kFileFailure).arg(code).arg(description));
}
