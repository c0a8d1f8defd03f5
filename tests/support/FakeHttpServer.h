#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTcpServer>
#include <QUrl>
#include <QUrlQuery>
#include <functional>

class QTcpSocket;

// A scripted HTTP/1.1 server on 127.0.0.1 at a port the system picks, for
// tests of network code. It runs on the test's event loop (spin a QEventLoop
// or use spinUntil() below while the code under test talks to it).
//
//   FakeHttpServer server;                         // listens at once
//   server.answer("GET", "/latest.json", 200, R"({"version":"2.0"})");
//   server.answer("POST", "/token", FakeHttpServer::Answer::closing());
//   ... point the code at server.url("/latest.json") ...
//   EXPECT_EQ(server.requests().size(), 1);
//   EXPECT_EQ(server.requests()[0].param("alt"), "media");
//
// Answers are scripted per method and path (the path without its query).
// Several answers for the same method and path are used in order, and the
// last one keeps being used once the others are spent. A request with no
// scripted answer gets 404 with an empty body. Every request is recorded,
// whatever its answer. Each connection serves one request and is closed
// after the answer ("Connection: close").
class FakeHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Answer
    {
        enum class Kind {
            Reply, // send status, headers and body
            Close, // close the connection without answering
            Hang,  // keep the connection open and never answer
            Cut,   // send the head and half the body, then drop the connection
        };
        Kind kind = Kind::Reply;
        int status = 200;
        QByteArray body;
        // Extra headers; Content-Type defaults to application/json.
        QList<QPair<QByteArray, QByteArray>> headers;

        static Answer reply(int status, const QByteArray &body = {},
                            const QByteArray &contentType = "application/json");
        static Answer closing();
        static Answer hanging();
        // A reply whose connection drops halfway through the body.
        static Answer cut(int status, const QByteArray &body);
    };

    struct Request
    {
        QByteArray method;
        QString path;     // percent-decoded path, no query
        QString target;   // the request target exactly as sent
        QUrlQuery query;  // read with QUrl::FullyDecoded
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;

        QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
        // A query item's value, fully percent-decoded ("+" stays "+").
        QString param(const QString &name) const { return query.queryItemValue(name, QUrl::FullyDecoded); }
    };

    explicit FakeHttpServer(QObject *parent = nullptr);

    quint16 port() const { return m_server.serverPort(); }
    // "http://127.0.0.1:<port>" followed by path.
    QUrl url(const QString &path = QString()) const;

    void answer(const QByteArray &method, const QString &path, const Answer &answer);
    void answer(const QByteArray &method, const QString &path, int status, const QByteArray &body = {},
                const QByteArray &contentType = "application/json");
    // Forgets every scripted answer.
    void clearAnswers() { m_answers.clear(); }
    // When set, answers every request in place of the scripted answers (a
    // fake service that keeps state between requests).
    void setResponder(std::function<Answer(const Request &)> responder) { m_responder = std::move(responder); }

    const QList<Request> &requests() const { return m_requests; }
    QList<Request> requests(const QByteArray &method, const QString &path) const;
    void clearRequests() { m_requests.clear(); }

signals:
    void requestReceived();

private:
    void onConnection();
    void serve(QTcpSocket *socket);
    Answer take(const QByteArray &method, const QString &path);

    QTcpServer m_server;
    QHash<QString, QList<Answer>> m_answers;
    std::function<Answer(const Request &)> m_responder;
    QList<Request> m_requests;
};

// Spins the event loop until done() holds or timeoutMs of real time pass;
// returns done(). The bound only guards against a hang: tests never depend
// on how long anything takes.
bool spinUntil(const std::function<bool()> &done, int timeoutMs = 20000);
