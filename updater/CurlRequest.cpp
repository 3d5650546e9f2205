#include "updater/CurlRequest.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <curl/curl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

// Bounds the memory a download needs whatever the file size: curl reads at
// most this much per socket read, and we keep at most four reads' worth.
constexpr long kReadBufferSize = 64 * 1024;
constexpr qint64 kBodyBufferLimit = 4 * kReadBufferSize;
// Enough for any real response head; only used when curl rejects one.
constexpr qint64 kRawHeadLimit = 4096;

CURL *easyOf(void *p)
{
    return static_cast<CURL *>(p);
}
CURLM *multiOf(void *p)
{
    return static_cast<CURLM *>(p);
}

bool isStatusLine(const char *data, size_t size)
{
    return size >= 5 && std::memcmp(data, "HTTP/", 5) == 0;
}

bool isBlankLine(const char *data, size_t size)
{
    return (size == 2 && data[0] == '\r' && data[1] == '\n') || (size == 1 && data[0] == '\n');
}

// The head without the blank line that ends it, or all of it when that
// line never came.
QByteArray headOf(const QByteArray &raw)
{
    qsizetype end = raw.indexOf("\r\n\r\n");
    if (end >= 0)
        return raw.left(end + 2);
    end = raw.indexOf("\n\n");
    if (end >= 0)
        return raw.left(end + 1);
    return raw;
}

} // namespace

CurlRequest::CurlRequest(QObject *parent)
    : QObject(parent)
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    m_multi = curl_multi_init();
    curl_multi_setopt(multiOf(m_multi), CURLMOPT_SOCKETFUNCTION, &CurlRequest::onSocket);
    curl_multi_setopt(multiOf(m_multi), CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multiOf(m_multi), CURLMOPT_TIMERFUNCTION, &CurlRequest::onTimer);
    curl_multi_setopt(multiOf(m_multi), CURLMOPT_TIMERDATA, this);

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { drive(CURL_SOCKET_TIMEOUT, 0); });
}

CurlRequest::~CurlRequest()
{
    cancel();
    curl_multi_cleanup(multiOf(m_multi));
}

void CurlRequest::setTimeouts(int connectSeconds, int lowSpeedSeconds, int lowSpeedBytes)
{
    m_connectSeconds = connectSeconds;
    m_lowSpeedSeconds = lowSpeedSeconds;
    m_lowSpeedBytes = lowSpeedBytes;
}

void CurlRequest::start(
    const QString &url, const QString &userName, const QString &password, const QList<QByteArray> &headerLines)
{
    cancel();
    m_head.clear();
    m_rawHead.clear();
    m_status = 0;
    m_headDone = false;
    m_headComplete = false;
    m_authRetryExpected = false;
    m_finished = false;
    m_interrupted = false;
    m_paused = false;
    m_result = CURLE_OK;
    m_error.clear();
    m_errorBuffer[0] = '\0';
    m_body.clear();
    m_bodyPos = 0;

    CURL *easy = curl_easy_init();
    m_easy = easy;
    curl_easy_setopt(easy, CURLOPT_URL, url.toUtf8().constData());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // The file's own bytes: no content decoding (the request says identity).
    curl_easy_setopt(easy, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReadBufferSize);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, long(m_connectSeconds));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, long(m_lowSpeedBytes));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, long(m_lowSpeedSeconds));
    // https:// against the system's certificate store; both checks stay on.
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, m_errorBuffer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlRequest::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlRequest::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);

    m_haveCredentials = !userName.isEmpty();
    if (m_haveCredentials) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, userName.toUtf8().constData());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, password.toUtf8().constData());
        // With more than one method allowed curl asks first without
        // credentials and answers the server's challenge.
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, long(CURLAUTH_ANY));
    }

    curl_slist *list = nullptr;
    for (const QByteArray &line : headerLines)
        list = curl_slist_append(list, line.constData());
    m_headerList = list;
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);

    curl_multi_add_handle(multiOf(m_multi), easy);
}

QString CurlRequest::url() const
{
    if (!m_easy)
        return {};
    char *effective = nullptr;
    curl_easy_getinfo(easyOf(m_easy), CURLINFO_EFFECTIVE_URL, &effective);
    return effective ? QString::fromUtf8(effective) : QString();
}

bool CurlRequest::stillExecuting() const
{
    return m_easy && !m_headDone && !m_finished;
}

QByteArray CurlRequest::header() const
{
    return m_head;
}

QByteArray CurlRequest::header(const QByteArray &name) const
{
    const QList<QByteArray> lines = m_head.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

qint64 CurlRequest::getChunk(char *data, qint64 maxSize)
{
    while (buffered() < maxSize && !m_finished && !m_interrupted && m_easy)
        waitForEvents();
    const qint64 n = std::min(buffered(), maxSize);
    if (n > 0) {
        std::memcpy(data, m_body.data() + m_bodyPos, size_t(n));
        m_bodyPos += n;
    }
    resumeIfDrained();
    return n;
}

void CurlRequest::waitForEvents()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void CurlRequest::interrupt()
{
    m_interrupted = true;
}

bool CurlRequest::endedEarly() const
{
    return m_finished && m_result == CURLE_PARTIAL_FILE;
}

bool CurlRequest::failed() const
{
    return m_finished && m_result != CURLE_OK;
}

QString CurlRequest::errorString() const
{
    return m_error;
}

void CurlRequest::cancel()
{
    m_timer.stop();
    for (Watch &watch : m_watches) {
        // Notifiers may be the sender of the signal being handled.
        for (QSocketNotifier *notifier : { watch.read, watch.write }) {
            if (notifier) {
                notifier->setEnabled(false);
                notifier->deleteLater();
            }
        }
    }
    m_watches.clear();
    if (m_easy) {
        curl_multi_remove_handle(multiOf(m_multi), easyOf(m_easy));
        curl_easy_cleanup(easyOf(m_easy));
        m_easy = nullptr;
    }
    curl_slist_free_all(static_cast<curl_slist *>(m_headerList));
    m_headerList = nullptr;
}

size_t CurlRequest::onHeader(char *data, size_t size, size_t count, void *self)
{
    auto *request = static_cast<CurlRequest *>(self);
    const size_t total = size * count;
    if (isStatusLine(data, total)) {
        // A new head: after an interim answer or a challenge that curl answers.
        request->m_head.clear();
        request->m_headDone = false;
        request->m_headComplete = false;
        const QByteArray code = QByteArray(data, qsizetype(total)).mid(9, 3);
        request->m_status = code.toInt();
    } else if (request->m_headDone) {
        return total; // trailers after a chunked body
    }
    if (!isBlankLine(data, total)) {
        request->m_head.append(data, qsizetype(total));
        return total;
    }
    if (request->m_status / 100 == 1)
        return total;
    if (request->m_status == 401 && request->m_haveCredentials && !request->m_authRetryExpected) {
        request->m_authRetryExpected = true;
        return total;
    }
    request->m_headDone = true;
    request->m_headComplete = true;
    return total;
}

size_t CurlRequest::onBody(char *data, size_t size, size_t count, void *self)
{
    auto *request = static_cast<CurlRequest *>(self);
    const size_t total = size * count;
    request->m_headDone = true;
    if (request->buffered() + qint64(total) > kBodyBufferLimit) {
        request->m_paused = true;
        request->updateNotifiers();
        return CURL_WRITEFUNC_PAUSE;
    }
    if (request->m_bodyPos > 0 && qint64(request->m_body.size() + total) > kBodyBufferLimit) {
        request->m_body.erase(request->m_body.begin(), request->m_body.begin() + request->m_bodyPos);
        request->m_bodyPos = 0;
    }
    request->m_body.insert(request->m_body.end(), data, data + total);
    return total;
}

int CurlRequest::onSocket(void *, int fd, int what, void *self, void *)
{
    auto *request = static_cast<CurlRequest *>(self);
    if (what == CURL_POLL_REMOVE) {
        Watch watch = request->m_watches.take(fd);
        for (QSocketNotifier *notifier : { watch.read, watch.write }) {
            if (notifier) {
                notifier->setEnabled(false);
                notifier->deleteLater();
            }
        }
        return 0;
    }
    Watch &watch = request->m_watches[fd];
    if (!watch.read) {
        watch.read = new QSocketNotifier(fd, QSocketNotifier::Read, request);
        watch.write = new QSocketNotifier(fd, QSocketNotifier::Write, request);
        connect(
            watch.read, &QSocketNotifier::activated, request, [request, fd] { request->drive(fd, CURL_CSELECT_IN); });
        connect(
            watch.write, &QSocketNotifier::activated, request, [request, fd] { request->drive(fd, CURL_CSELECT_OUT); });
    }
    watch.what = what;
    request->updateNotifiers();
    return 0;
}

int CurlRequest::onTimer(void *, long timeoutMs, void *self)
{
    auto *request = static_cast<CurlRequest *>(self);
    if (timeoutMs < 0)
        request->m_timer.stop();
    else
        request->m_timer.start(int(timeoutMs));
    return 0;
}

void CurlRequest::drive(int fd, int action)
{
    if (!m_easy)
        return;
    if (m_head.isEmpty() && !m_headDone) {
        if (fd != CURL_SOCKET_TIMEOUT)
            peekRawHead(fd);
        else
            for (auto it = m_watches.cbegin(); it != m_watches.cend(); ++it)
                peekRawHead(it.key());
    }
    int running = 0;
    curl_multi_socket_action(multiOf(m_multi), fd, action, &running);
    collectFinished();
}

void CurlRequest::collectFinished()
{
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multiOf(m_multi), &left)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        m_finished = true;
        m_result = message->data.result;
        if (m_result != CURLE_OK) {
            m_error = m_errorBuffer[0] ? QString::fromUtf8(m_errorBuffer)
                                       : QString::fromUtf8(curl_easy_strerror(CURLcode(m_result)));
            // curl refuses a malformed status line without handing it over;
            // what the socket held before curl read it is that answer.
            if (m_head.isEmpty() && !m_rawHead.isEmpty()
                && (m_result == CURLE_UNSUPPORTED_PROTOCOL || m_result == CURLE_WEIRD_SERVER_REPLY))
                m_head = headOf(m_rawHead);
        }
        m_headDone = true;
        m_timer.stop();
    }
}

void CurlRequest::updateNotifiers()
{
    for (Watch &watch : m_watches) {
        if (watch.read)
            watch.read->setEnabled((watch.what & CURL_POLL_IN) && !m_paused);
        if (watch.write)
            watch.write->setEnabled(watch.what & CURL_POLL_OUT);
    }
}

void CurlRequest::peekRawHead(int fd)
{
    if (m_rawHead.size() >= kRawHeadLimit)
        return;
    char buffer[kRawHeadLimit];
    const ssize_t n = ::recv(fd, buffer, size_t(kRawHeadLimit - m_rawHead.size()), MSG_PEEK | MSG_DONTWAIT);
    if (n > 0)
        m_rawHead.append(buffer, n);
}

void CurlRequest::resumeIfDrained()
{
    if (buffered() == 0) {
        m_body.clear();
        m_bodyPos = 0;
    }
    if (m_paused && m_easy && buffered() < kBodyBufferLimit / 2) {
        m_body.erase(m_body.begin(), m_body.begin() + m_bodyPos);
        m_bodyPos = 0;
        m_paused = false;
        updateNotifiers();
        curl_easy_pause(easyOf(m_easy), CURLPAUSE_CONT);
    }
}
