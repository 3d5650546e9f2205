#include "update/VersionFetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

constexpr int kMaxRedirects = 3;
// A version file is a few bytes; anything much longer is not one.
constexpr qint64 kMaxBody = 64 * 1024;

} // namespace

VersionFetcher::VersionFetcher(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
{
}

void VersionFetcher::fetch(const QString &url)
{
    abort();
    QNetworkRequest request { QUrl(url) };
    request.setTransferTimeout(m_timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::finished, this, &VersionFetcher::replyFinished);
}

void VersionFetcher::abort()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void VersionFetcher::replyFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    // Only a successful answer is a version file: the body of an error page
    // ("404 Not Found") must not be read as a version number.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString text;
    if (reply->error() == QNetworkReply::NoError && status / 100 == 2)
        text = QString::fromUtf8(reply->read(kMaxBody));
    emit finished(text);
}
