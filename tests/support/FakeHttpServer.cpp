#include "support/FakeHttpServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

namespace {
QString keyOf(const QByteArray &method, const QString &path)
{
    return QString::fromLatin1(method) + QLatin1Char(' ') + path;
}

QByteArray reasonOf(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 204: return "No Content";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}
} // namespace

FakeHttpServer::Answer FakeHttpServer::Answer::reply(int status, const QByteArray &body, const QByteArray &contentType)
{
    Answer a;
    a.status = status;
    a.body = body;
    if (!contentType.isEmpty())
        a.headers.append({"Content-Type", contentType});
    return a;
}

FakeHttpServer::Answer FakeHttpServer::Answer::closing()
{
    Answer a;
    a.kind = Kind::Close;
    return a;
}

FakeHttpServer::Answer FakeHttpServer::Answer::hanging()
{
    Answer a;
    a.kind = Kind::Hang;
    return a;
}

FakeHttpServer::Answer FakeHttpServer::Answer::cut(int status, const QByteArray &body)
{
    Answer a = reply(status, body);
    a.kind = Kind::Cut;
    return a;
}

FakeHttpServer::FakeHttpServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &FakeHttpServer::onConnection);
    m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl FakeHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path));
}

void FakeHttpServer::answer(const QByteArray &method, const QString &path, const Answer &answer)
{
    m_answers[keyOf(method, path)].append(answer);
}

void FakeHttpServer::answer(const QByteArray &method, const QString &path, int status, const QByteArray &body,
                            const QByteArray &contentType)
{
    answer(method, path, Answer::reply(status, body, contentType));
}

QList<FakeHttpServer::Request> FakeHttpServer::requests(const QByteArray &method, const QString &path) const
{
    QList<Request> out;
    for (const Request &r : m_requests)
        if (r.method == method && r.path == path)
            out.append(r);
    return out;
}

FakeHttpServer::Answer FakeHttpServer::take(const QByteArray &method, const QString &path)
{
    auto it = m_answers.find(keyOf(method, path));
    if (it == m_answers.end() || it->isEmpty())
        return Answer::reply(404, {}, {});
    if (it->size() > 1)
        return it->takeFirst();
    return it->first();
}

void FakeHttpServer::onConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void FakeHttpServer::serve(QTcpSocket *socket)
{
    if (socket->property("served").toBool())
        return;
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;

    Request request;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.target = QString::fromLatin1(first.value(1));
    qint64 length = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        request.headers.insert(name, value);
        if (name == "content-length")
            length = value.toLongLong();
    }
    if (buffer.size() < headEnd + 4 + length)
        return; // the body is still coming
    request.body = buffer.mid(headEnd + 4, length);
    const QUrl url(QStringLiteral("http://127.0.0.1") + request.target);
    request.path = url.path(QUrl::FullyDecoded);
    request.query = QUrlQuery(url.query(QUrl::FullyEncoded));
    socket->setProperty("served", true);

    const Answer answer = m_responder ? m_responder(request) : take(request.method, request.path);
    m_requests.append(request);
    emit requestReceived();

    switch (answer.kind) {
    case Answer::Kind::Hang:
        return;
    case Answer::Kind::Close:
        socket->abort();
        socket->deleteLater();
        return;
    case Answer::Kind::Reply:
    case Answer::Kind::Cut:
        break;
    }
    QByteArray out = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reasonOf(answer.status) + "\r\n";
    for (const auto &h : answer.headers)
        out += h.first + ": " + h.second + "\r\n";
    out += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    if (answer.kind == Answer::Kind::Cut) {
        out += answer.body.left(answer.body.size() / 2);
        socket->write(out);
        socket->flush();
        socket->abort();
        socket->deleteLater();
        return;
    }
    out += answer.body;
    socket->write(out);
    socket->disconnectFromHost();
}

bool spinUntil(const std::function<bool()> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QTimer wake; // keeps the wait below from blocking past the deadline
    wake.start(10);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return done();
}
