#pragma once

#include "platform/time/Clock.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <functional>
#include <optional>

class QTcpSocket;

// Receives the browser's redirect at the end of the consent screen. It
// listens on 127.0.0.1 at a port the system picks and serves connections on
// the main thread until one brings the expected "state": that request's
// query goes to the caller and the page tells the user to return to the
// program. Anything else (a connection that sends nothing, the browser's
// icon request, a stranger's request) is answered or dropped without ending
// the wait. Each connection must send its request line, at most 8 KB,
// within its own time-out.
//
// One object per sign-in: start(), then one waitForQuery(), then close()
// (the destructor closes too).
class LoopbackServer : public QObject
{
    Q_OBJECT
public:
    using Query = QMap<QString, QString>;

    static constexpr qsizetype kMaxRequestLine = 8192;
    static constexpr qint64 kConnectionTimeoutMs = 10000;

    explicit LoopbackServer(QObject *parent = nullptr);
    ~LoopbackServer() override;

    // Opens the listener; the port, or 0 with error filled when it could not open.
    quint16 start(QString *error = nullptr);
    quint16 port() const { return m_server.serverPort(); }
    bool isListening() const { return m_server.isListening(); }

    // Calls done once: with the query of the first request whose "state"
    // equals expectedState; or, when timeoutMs pass on the clock first, with
    // the last query that carried some other "state" (so the caller can tell
    // a wrong answer from none), else with nothing. Without a listener it
    // calls done with nothing at once.
    void waitForQuery(const QString &expectedState, qint64 timeoutMs,
                      std::function<void(std::optional<Query>)> done);

    // Stops listening and drops every open connection.
    void close();

    // The query of a request line ("GET /?a=b HTTP/1.1"): names and values
    // percent-decoded, "+" kept; a later item replaces an earlier one of the
    // same name and an item without "=" removes it.
    static Query parse(const QByteArray &requestLine);
    // The whole answer (head and page) for a request.
    static QByteArray answer(bool connected);

private:
    void onConnection();
    void onReadable(QTcpSocket *socket);
    void finish(std::optional<Query> result);

    QTcpServer m_server;
    QString m_expected;
    std::function<void(std::optional<Query>)> m_done;
    std::optional<Query> m_stranger;
    Clock::Handle m_timer = 0;
    bool m_waiting = false;
};
