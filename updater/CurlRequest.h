#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <vector>

class QSocketNotifier;

/// One HTTP request through libcurl's multi interface, driven by the Qt event
/// loop of the calling thread. It offers what the downloader needs from an
/// HTTP client: the raw response head, single header values, the body in
/// small pieces and cancelling. The body is held in a bounded buffer: when it
/// is full the transfer is paused until the caller has taken some.
class CurlRequest : public QObject
{
    Q_OBJECT

public:
    explicit CurlRequest(QObject *parent = nullptr);
    ~CurlRequest() override;

    /// Seconds allowed for connecting, and the low-speed limit: a transfer
    /// that moves fewer than \a lowSpeedBytes a second for \a lowSpeedSeconds
    /// in a row is given up (head or body alike), so a trickle ends too.
    void setTimeouts(int connectSeconds, int lowSpeedSeconds, int lowSpeedBytes);

    /// Starts a GET of \a url with \a headerLines ("Name: value") added.
    /// Credentials are offered only after the server asks for them.
    void start(
        const QString &url, const QString &userName, const QString &password, const QList<QByteArray> &headerLines);

    /// The URL as the client reports it (after normalisation).
    QString url() const;

    /// True while connecting, sending or receiving the response head.
    bool stillExecuting() const;

    /// True once the blank line that ends the final response head came.
    bool headComplete() const { return m_headComplete; }

    /// True when the transfer ended because the server closed the
    /// connection before the framed body was whole.
    bool endedEarly() const;

    /// The response head as received, status line first, lines ending in
    /// CR LF as the server sent them; the blank line that ends it is left out.
    QByteArray header() const;

    /// The value of response header \a name (case-insensitive), blanks around
    /// it removed; empty when absent.
    QByteArray header(const QByteArray &name) const;

    /// Copies the next body bytes into \a data: \a maxSize of them, fewer only
    /// at the end of the body or when interrupted. Waits for them while
    /// letting the event loop run. Returns 0 once the body is exhausted.
    qint64 getChunk(char *data, qint64 maxSize);

    /// Lets the event loop run once, waiting until something happens.
    void waitForEvents();

    /// Makes a running wait return; set until the next start().
    void interrupt();

    /// True when the transfer ended with an error (refused, timed out,
    /// malformed answer, closed early).
    bool failed() const;
    QString errorString() const;

    /// Ends the request and closes its connection.
    void cancel();

private:
    static size_t onHeader(char *data, size_t size, size_t count, void *self);
    static size_t onBody(char *data, size_t size, size_t count, void *self);
    static int onSocket(void *easy, int fd, int what, void *self, void *socketData);
    static int onTimer(void *multi, long timeoutMs, void *self);

    void socketEvent(int fd, int action);
    void drive(int fd, int action);
    void collectFinished();
    void updateNotifiers();
    void peekRawHead(int fd);
    void resumeIfDrained();
    qint64 buffered() const { return qint64(m_body.size()) - m_bodyPos; }

    struct Watch
    {
        QSocketNotifier *read = nullptr;
        QSocketNotifier *write = nullptr;
        int what = 0;
    };

    void *m_multi = nullptr;
    void *m_easy = nullptr;
    void *m_headerList = nullptr;
    QHash<int, Watch> m_watches;
    QTimer m_timer;
    int m_connectSeconds = 15;
    int m_lowSpeedSeconds = 60;
    int m_lowSpeedBytes = 1024;

    QByteArray m_head;
    QByteArray m_rawHead;
    int m_status = 0;
    bool m_headDone = false;
    bool m_headComplete = false;
    bool m_authRetryExpected = false;
    bool m_haveCredentials = false;
    bool m_finished = false;
    bool m_interrupted = false;
    bool m_paused = false;
    int m_result = 0;
    QString m_error;
    char m_errorBuffer[256] = {};

    std::vector<char> m_body;
    qint64 m_bodyPos = 0;
};
