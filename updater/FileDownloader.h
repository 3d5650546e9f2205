#pragma once

#include "updater/CurlRequest.h"

#include <QObject>
#include <QString>

/// Fetches one file over HTTP into a destination path, reporting through its
/// signals. DownloadFile runs the whole download before it returns and lets
/// the event loop run meanwhile, so the host's buttons and timers (and
/// Cancel) work during it. A download that does not end with every announced
/// byte received leaves no file at the destination.
class FileDownloader : public QObject
{
    Q_OBJECT

public:
    explicit FileDownloader(QObject *parent = nullptr);

    /// Downloads \a url to \a destination. True when the received count
    /// equals the announced length at the end (also when both stay 0, as
    /// after a refused request), false otherwise.
    bool DownloadFile(
        const QString &url, const QString &destination, const QString &userName = {}, const QString &password = {});

    /// Ends the running download at its next step without further reports.
    void Cancel();

    /// Seconds for connecting and seconds without data before giving up.
    void setTimeouts(int connectSeconds, int stallSeconds);

    bool isDownloading() const { return m_running; }

signals:
    void DownloadErrors(const QString &message);
    void DownloadEvents(const QString &message);
    void DowloadComplete();
    void DownloadProgress(const QString &percent);

private:
    bool receiveHead();
    bool checkLength(const QString &destination);
    void receiveBody(const QString &destination);
    bool finish(const QString &destination);
    void report(const QString &message);
    void reportFileFailure(int code, const QString &description);

    CurlRequest m_request;
    bool m_cancel = false;
    bool m_running = false;
    qint64 m_received = 0;
    qint64 m_length = 0;
};
