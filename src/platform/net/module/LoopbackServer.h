#pragma once

#include "platform/net/LoopbackListener.h"
#include "platform/time/Clock.h"

#include <QTcpServer>

class QTcpSocket;

// The network module's listener for the browser's redirect (see
// LoopbackListener), over Qt Network's TCP server, on the current clock as
// clock() gives it, answering with the pages it was given.
class LoopbackServer : public LoopbackListener
{
    Q_OBJECT
public:
    LoopbackServer(Clock &(*clock)(), QByteArray connectedPage, QByteArray refusedPage, QObject *parent = nullptr);
    ~LoopbackServer() override;

    quint16 start(QString *error = nullptr) override;
    quint16 port() const override { return m_server.serverPort(); }
    bool isListening() const override { return m_server.isListening(); }
    void waitForQuery(const QString &expectedState, qint64 timeoutMs,
                      std::function<void(std::optional<Query>)> done) override;
    void close() override;

    // The query of a request line ("GET /?a=b HTTP/1.1"): names and values
    // percent-decoded, "+" kept; a later item replaces an earlier one of the
    // same name and an item without "=" removes it.
    static Query parse(const QByteArray &requestLine);

private:
    void onConnection();
    void onReadable(QTcpSocket *socket);
    void finish(std::optional<Query> result);

    Clock &(*m_clock)();
    QByteArray m_connectedPage;
    QByteArray m_refusedPage;
    QTcpServer m_server;
    QString m_expected;
    std::function<void(std::optional<Query>)> m_done;
    std::optional<Query> m_stranger;
    Clock::Handle m_timer = 0;
    bool m_waiting = false;
};
