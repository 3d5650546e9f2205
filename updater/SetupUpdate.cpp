#include "updater/SetupUpdate.h"

#include "updater/FileDownloader.h"
#include "updater/SignatureCheck.h"
#include "updater/UpdaterWindowTexts.h"

#include <QFile>

namespace {

const char kCannotInstall[] = "Cannot write file to disk.\r\r";

} // namespace

SetupUpdate::SetupUpdate(FileDownloader *downloader, QObject *parent)
    : QObject(parent)
    , m_downloader(downloader)
{
    connect(m_downloader, &FileDownloader::DowloadComplete, this, [this] { m_complete = true; });
    // A failed signature download is one "not verified" in the end, not a
    // second box about a file the user never asked for.
    connect(m_downloader, &FileDownloader::DownloadErrors, this, [this](const QString &message) {
        if (!m_fetchingSignature)
            emit DownloadErrors(message);
    });
}

void SetupUpdate::cancel()
{
    m_cancelled = true;
    m_downloader->Cancel();
}

SetupUpdate::Outcome SetupUpdate::run(const QString &setupUrl, const QString &destination)
{
    m_cancelled = false;
    const QString part = destination + UpdaterWindowTexts::PartSuffix;
    const QString signaturePart = destination + UpdaterWindowTexts::SignatureSuffix + UpdaterWindowTexts::PartSuffix;
    for (const QString &path : { destination, part, signaturePart })
        QFile::remove(path);

    const QByteArray signature = fetchSignature(setupUrl + UpdaterWindowTexts::SignatureSuffix, signaturePart);
    if (m_cancelled)
        return Outcome::Cancelled;
    if (signature.size() != SignatureCheck::kSignatureSize)
        return Outcome::NotVerified;

    SignatureCheck check(m_publicKey, signature);
    m_complete = false;
    m_downloader->setBodySink([&check](const char *data, qint64 size) { check.add(data, size); });
    m_downloader->DownloadFile(setupUrl, part);
    m_downloader->setBodySink({});
    const bool verified = check.finish();

    if (m_cancelled || !m_complete) {
        QFile::remove(part);
        return m_cancelled ? Outcome::Cancelled : Outcome::Failed;
    }
    if (!verified) {
        QFile::remove(part);
        return Outcome::NotVerified;
    }
    return install(part, destination) ? Outcome::Ready : Outcome::Failed;
}

QByteArray SetupUpdate::fetchSignature(const QString &url, const QString &path)
{
    m_fetchingSignature = true;
    m_complete = false;
    m_downloader->DownloadFile(url, path);
    m_fetchingSignature = false;
    QByteArray signature;
    QFile file(path);
    // One byte more than a signature tells a longer file from one.
    if (m_complete && file.open(QIODevice::ReadOnly))
        signature = file.read(SignatureCheck::kSignatureSize + 1);
    file.close();
    QFile::remove(path);
    return signature;
}

bool SetupUpdate::install(const QString &part, const QString &destination)
{
    QFile file(part);
    QFile::remove(destination);
    if (!file.rename(destination)) {
        emit DownloadErrors(QString::fromLatin1(kCannotInstall) + file.errorString());
        QFile::remove(part);
        return false;
    }
    QFile::setPermissions(destination,
        QFile::permissions(destination) | QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup
            | QFileDevice::ExeOther);
    return true;
}
