#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class FileDownloader;

/// The updater's download of the setup program, without a window: the
/// signature (setup address + ".sig") first, then the setup program to a
/// temporary name beside the destination, checked against the signature on
/// its way to the disk. Only a whole file that the signature holds for is
/// renamed to the destination and made executable; an older file of that
/// name is deleted before anything is fetched, so nothing but this run's
/// verified download can be started.
class SetupUpdate : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Ready, ///< verified, at the destination, executable
        Failed, ///< the setup download failed (reported by DownloadErrors)
        NotVerified, ///< signature missing, malformed or not matching; files deleted
        Cancelled,
    };

    /// Uses \a downloader for both files; its DownloadErrors reach the host
    /// through this object's DownloadErrors, for the setup file only.
    explicit SetupUpdate(FileDownloader *downloader, QObject *parent = nullptr);

    /// The 32-byte Ed25519 public key that signs releases.
    void setPublicKey(const QByteArray &key) { m_publicKey = key; }

    /// Runs the whole download. Returns when it is over.
    Outcome run(const QString &setupUrl, const QString &destination);

    /// Ends a running download without further reports.
    void cancel();

signals:
    void DownloadErrors(const QString &message);

private:
    QByteArray fetchSignature(const QString &url, const QString &path);
    bool install(const QString &part, const QString &destination);

    FileDownloader *m_downloader;
    QByteArray m_publicKey;
    bool m_fetchingSignature = false;
    bool m_complete = false;
    bool m_cancelled = false;
};
