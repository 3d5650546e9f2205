#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;

/// Fetches a short text over HTTP, as the update check needs it: the body of
/// a successful answer, or the empty text when the server cannot be reached,
/// answers with an error, or takes too long. At most the first 64 KB of the
/// body are read; the transfer stops there.
class VersionFetcher : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 kMaxBody = 64 * 1024;

    explicit VersionFetcher(QObject *parent = nullptr);

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    /// Starts the fetch; finished() follows, also on failure.
    void fetch(const QString &url);
    /// Drops a running fetch without a finished() signal.
    void abort();
    bool isRunning() const { return m_reply != nullptr; }

signals:
    void finished(const QString &text);

private:
    void readBody();
    void replyFinished();
    void done();

    QNetworkAccessManager *m_network;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    int m_timeoutMs = 15000;
};
