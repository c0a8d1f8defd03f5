#include "sync/LoopbackServer.h"

#include "core/L.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QUrl>

LoopbackServer::LoopbackServer(QObject *parent)
    : QObject(parent)
{
    m_server.setMaxPendingConnections(4);
    QObject::connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::onConnection);
}

LoopbackServer::~LoopbackServer()
{
    if (m_timer)
        Clock::current().cancel(m_timer);
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
    m_timer = Clock::current().schedule(timeoutMs, [self] {
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
        Clock::current().cancel(m_timer);
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
        ClockTimer::singleShot(kConnectionTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
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
    reply(answer(expected && query.contains(QStringLiteral("code"))));
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

QByteArray LoopbackServer::answer(bool connected)
{
    const QString message = connected ? L("<h2>つながりました</h2><p>Quillmere に戻ってください。</p>")
                                      : L("<h2>つながりませんでした</h2><p>Quillmere に戻ってください。</p>");
    QByteArray out = "HTTP/1.1 200 OK\r\n"
                     "Content-Type: text/html; charset=utf-8\r\n"
                     "Connection: close\r\n"
                     "\r\n"
                     "<!doctype html><html lang=\"ja\"><meta charset=\"utf-8\"><body style=\"font-family:"
                     "-apple-system;text-align:center;padding:64px;color:#231f1b;background:#f3efe7\">";
    out += message.toUtf8();
    out += "</body></html>";
    return out;
}
