#include "platform/net/module/LoopbackServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QUrl>

LoopbackServer::LoopbackServer(Clock &(*clock)(), QByteArray connectedPage, QByteArray refusedPage, QObject *parent)
    : LoopbackListener(parent)
    , m_clock(clock)
    , m_connectedPage(std::move(connectedPage))
    , m_refusedPage(std::move(refusedPage))
{
    m_server.setMaxPendingConnections(4);
    QObject::connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::onConnection);
}

LoopbackServer::~LoopbackServer()
{
    if (m_timer)
        m_clock().cancel(m_timer);
    m_done = nullptr;
    close();
}

quint16 LoopbackServer::start(QString *error)
{
    if (m_server.listen(QHostAddress(QHostAddress::LocalHost), 0))
        return m_server.serverPort();
    if (error)
        *error = m_server.errorString();
    return 0;
}

void LoopbackServer::close()
{
    m_server.close();
    const auto sockets = findChildren<QTcpSocket *>();
    for (QTcpSocket *socket : sockets) {
        socket->abort();
        socket->deleteLater();
    }
}

void LoopbackServer::waitForQuery(const QString &expectedState, qint64 timeoutMs,
                                  std::function<void(std::optional<Query>)> done)
{
    if (!m_server.isListening()) {
        done(std::nullopt);
        return;
    }
    m_expected = expectedState;
    m_done = std::move(done);
    m_stranger.reset();
    m_waiting = true;
    QPointer<LoopbackServer> self(this);
    m_timer = m_clock().schedule(timeoutMs, [self] {
        if (!self)
            return;
        self->m_timer = 0;
        self->finish(self->m_stranger);
    });
    onConnection(); // connections that came before the wait
}

void LoopbackServer::finish(std::optional<Query> result)
{
    if (!m_waiting)
        return;
    m_waiting = false;
    if (m_timer)
        m_clock().cancel(m_timer);
    m_timer = 0;
    m_server.pauseAccepting();
    auto done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(result);
}

void LoopbackServer::onConnection()
{
    if (!m_waiting)
        return;
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        // A connection that never finishes its request line is dropped.
        QPointer<QTcpSocket> weak(socket);
        m_clock().schedule(kConnectionTimeoutMs, [weak] {
            if (!weak)
                return;
            weak->abort();
            weak->deleteLater();
        });
        if (socket->bytesAvailable() > 0)
            onReadable(socket);
    }
}

void LoopbackServer::onReadable(QTcpSocket *socket)
{
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray line = socket->property("line").toByteArray();
    line += socket->read(kMaxRequestLine + 2 - line.size());
    const qsizetype end = line.indexOf("\r\n");
    if (end < 0 && line.size() <= kMaxRequestLine) {
        socket->setProperty("line", line);
        return; // the line is still coming
    }
    socket->setProperty("answered", true);

    // The answer is handed to the system at once: the owner may close the
    // listener, and with it this connection, as soon as it has the query.
    const auto reply = [socket](const QByteArray &bytes) {
        socket->write(bytes);
        socket->flush();
        socket->disconnectFromHost();
    };
    if (end < 0) { // longer than a request line may be
        reply("HTTP/1.1 414 URI Too Long\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        return;
    }
    line.truncate(end);
    const QList<QByteArray> pieces = line.split(' ');
    if (pieces.size() >= 2 && pieces[1].startsWith("/favicon.ico")) {
        reply("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        return;
    }
    const Query query = parse(line);
    const bool expected = m_waiting && query.contains(QStringLiteral("state"))
                          && query.value(QStringLiteral("state")) == m_expected;
    reply(expected && query.contains(QStringLiteral("code")) ? m_connectedPage : m_refusedPage);
    if (expected)
        finish(query);
    else if (query.contains(QStringLiteral("state")))
        m_stranger = query;
}

LoopbackServer::Query LoopbackServer::parse(const QByteArray &requestLine)
{
    Query out;
    QList<QByteArray> pieces;
    for (const QByteArray &piece : requestLine.split(' '))
        if (!piece.isEmpty())
            pieces.append(piece);
    if (pieces.size() < 2)
        return out;
    const QUrl url(QStringLiteral("http://127.0.0.1") + QString::fromUtf8(pieces[1]));
    if (!url.isValid() || !url.hasQuery())
        return out;
    const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
    for (const QByteArray &item : query.split('&')) {
        if (item.isEmpty())
            continue;
        const qsizetype eq = item.indexOf('=');
        if (eq < 0) {
            out.remove(QUrl::fromPercentEncoding(item));
            continue;
        }
        out.insert(QUrl::fromPercentEncoding(item.left(eq)), QUrl::fromPercentEncoding(item.mid(eq + 1)));
    }
    return out;
}
