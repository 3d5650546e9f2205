#include "TestHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

TestHttpServer::TestHttpServer(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, &TestHttpServer::serve);
}

bool TestHttpServer::start(Handler handler)
{
    m_handler = std::move(handler);
    return listen(QHostAddress::LocalHost, 0);
}

QString TestHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
}

TestHttpServer::Answer TestHttpServer::reply(const QByteArray &bytes)
{
    return { { { 0, bytes } } };
}

TestHttpServer::Answer TestHttpServer::file(const QByteArray &body, int status)
{
    const QByteArray reason = status == 206 ? "Partial Content" : "OK";
    return reply("HTTP/1.1 " + QByteArray::number(status) + " " + reason
        + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
}

void TestHttpServer::serve()
{
    while (QTcpSocket *socket = nextPendingConnection()) {
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            received->append(socket->readAll());
            const qsizetype end = received->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QByteArray request = received->left(end + 4);
            received->remove(0, end + 4);
            m_requests.append(request);
            const Answer answer = m_handler(request);
            send(socket, answer, 0);
        });
    }
}

void TestHttpServer::send(QTcpSocket *socket, const Answer &answer, int piece)
{
    if (piece == answer.pieces.size()) {
        if (!answer.keepOpen)
            socket->disconnectFromHost();
        return;
    }
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(answer.pieces[piece].delayMs, this, [this, guard, answer, piece] {
        if (!guard)
            return;
        guard->write(answer.pieces[piece].bytes);
        send(guard, answer, piece + 1);
    });
}
