#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>

class QTcpSocket;

#include <functional>

/// A small HTTP server on 127.0.0.1 for tests. Each answer is given byte for
/// byte as pieces, each sent after its own delay; the connection is closed
/// after the last piece unless the answer says otherwise. It runs on the
/// test's thread, so it serves while the code under test runs the event loop.
class TestHttpServer : public QTcpServer
{
    Q_OBJECT

public:
    struct Piece
    {
        int delayMs = 0;
        QByteArray bytes;
    };
    struct Answer
    {
        QList<Piece> pieces;
        bool keepOpen = false;
    };
    using Handler = std::function<Answer(const QByteArray &request)>;

    explicit TestHttpServer(QObject *parent = nullptr);

    /// Listens on a free port of 127.0.0.1.
    bool start(Handler handler);
    QString url(const QString &path) const;

    /// Every request head received so far, in order.
    QList<QByteArray> requests() const { return m_requests; }

    /// An answer sent at once.
    static Answer reply(const QByteArray &bytes);
    /// A 200/206 answer with \a body and a matching Content-Length.
    static Answer file(const QByteArray &body, int status = 200);

private:
    void serve();
    void send(QTcpSocket *socket, const Answer &answer, int piece);

    Handler m_handler;
    QList<QByteArray> m_requests;
};
