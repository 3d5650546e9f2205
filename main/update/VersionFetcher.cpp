#include "update/VersionFetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

constexpr int kMaxRedirects = 3;

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
    m_body.clear();
    m_reply = m_network->get(request);
    // A version file is a few bytes: Qt keeps no more than the limit
    // buffered, and reading stops once it is reached.
    m_reply->setReadBufferSize(kMaxBody);
    connect(m_reply, &QNetworkReply::readyRead, this, &VersionFetcher::readBody);
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

void VersionFetcher::readBody()
{
    // A reply that timed out is closed and has nothing more to give.
    if (!m_reply || !m_reply->isOpen())
        return;
    m_body += m_reply->read(kMaxBody - m_body.size());
    if (m_body.size() >= kMaxBody)
        done();
}

void VersionFetcher::replyFinished()
{
    readBody();
    if (m_reply)
        done();
}

void VersionFetcher::done()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    // Only a successful answer is a version file: the body of an error page
    // ("404 Not Found") must not be read as a version number.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool ok = reply->error() == QNetworkReply::NoError && status / 100 == 2;
    reply->abort();
    reply->deleteLater();
    emit finished(ok ? QString::fromUtf8(m_body) : QString());
    m_body.clear();
}
