#pragma once

#include "updater/CurlRequest.h"

#include <QObject>
#include <QString>

#include <functional>

/// Fetches one file over HTTP into a destination path, reporting through its
/// signals. DownloadFile runs the whole download before it returns and lets
/// the event loop run meanwhile, so the host's buttons and timers (and
/// Cancel) work during it. A body of unknown length is read until the answer
/// ends. A download that does not end whole (every announced byte, or a
/// non-empty body that curl finished without error) leaves no file at the
/// destination and is reported.
class FileDownloader : public QObject
{
    Q_OBJECT

public:
    explicit FileDownloader(QObject *parent = nullptr);

    /// Downloads \a url to \a destination. False when a body was being
    /// received and did not end whole, or there was no room for it; true
    /// otherwise (also after a refused request, when nothing was received).
    /// Only DowloadComplete says that the file is there.
    bool DownloadFile(
        const QString &url, const QString &destination, const QString &userName = {}, const QString &password = {});

    /// Ends the running download at its next step without further reports.
    void Cancel();

    /// Seconds for connecting, and the low-speed limit: fewer than
    /// \a lowSpeedBytes a second for \a lowSpeedSeconds ends the transfer.
    void setTimeouts(int connectSeconds, int lowSpeedSeconds, int lowSpeedBytes = kLowSpeedBytes);

    /// Called with every body chunk as it is written (the signature check
    /// reads the file on its way to the disk).
    void setBodySink(std::function<void(const char *data, qint64 size)> sink) { m_sink = std::move(sink); }

    static constexpr int kConnectSeconds = 15;
    // A real download never moves less than 1 KB a second for a minute.
    static constexpr int kLowSpeedSeconds = 60;
    static constexpr int kLowSpeedBytes = 1024;

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
    void checkEnd();
    bool finish(const QString &destination, bool bodyPhase);
    void report(const QString &message);
    void reportFileFailure(int code, const QString &description);

    CurlRequest m_request;
    bool m_cancel = false;
    bool m_running = false;
    qint64 m_received = 0;
    qint64 m_length = 0; // 0: unknown, read until the answer ends
    std::function<void(const char *, qint64)> m_sink;
};
