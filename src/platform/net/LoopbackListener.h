#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

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
// (the destructor closes too). The listener lives in the network module
// (LoopbackServer there); make() loads it.
class LoopbackListener : public QObject
{
public:
    using Query = QMap<QString, QString>;

    static constexpr qsizetype kMaxRequestLine = 8192;
    static constexpr qint64 kConnectionTimeoutMs = 10000;

    // A listener on the current clock, or null when the network module
    // cannot be loaded.
    static LoopbackListener *make(QObject *parent = nullptr);

    // Opens the listener; the port, or 0 with error filled when it could not open.
    virtual quint16 start(QString *error = nullptr) = 0;
    virtual quint16 port() const = 0;
    virtual bool isListening() const = 0;

    // Calls done once: with the query of the first request whose "state"
    // equals expectedState; or, when timeoutMs pass on the clock first, with
    // the last query that carried some other "state" (so the caller can tell
    // a wrong answer from none), else with nothing. Without a listener it
    // calls done with nothing at once.
    virtual void waitForQuery(const QString &expectedState, qint64 timeoutMs,
                              std::function<void(std::optional<Query>)> done) = 0;

    // Stops listening and drops every open connection.
    virtual void close() = 0;

    // The whole answer (head and page) for a request, in the program's language.
    static QByteArray answer(bool connected);

protected:
    using QObject::QObject;
};
