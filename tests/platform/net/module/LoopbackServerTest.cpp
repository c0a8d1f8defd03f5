#include "platform/net/module/LoopbackServer.h"

#include "core/L.h"
#include "platform/fakes/FakeClock.h"
#include "support/FakeHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Query = LoopbackServer::Query;

// The listener as the program makes it: on the current clock, with the
// program's pages in the language of the moment.
struct Server : LoopbackServer
{
    Server()
        : LoopbackServer(&Clock::current, LoopbackListener::answer(true), LoopbackListener::answer(false))
    {
    }
};

// A browser-side connection that sends some bytes and collects the answer.
struct Visit
{
    std::unique_ptr<QTcpSocket> socket = std::make_unique<QTcpSocket>();
    QByteArray received;
    bool closed = false;

    Visit(quint16 port, const QByteArray &bytes)
    {
        QObject::connect(socket.get(), &QTcpSocket::readyRead, [this] { received += socket->readAll(); });
        QObject::connect(socket.get(), &QTcpSocket::disconnected, [this] { closed = true; });
        socket->connectToHost(QHostAddress::LocalHost, port);
        if (!bytes.isEmpty())
            socket->write(bytes);
    }
    bool waitClosed() { return spinUntil([this] { return closed; }); }
};

QByteArray get(const QByteArray &target)
{
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: test\r\n\r\n";
}

class LoopbackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Lang::setForTesting(true);
        Clock::setCurrent(&clock);
        owned = std::make_unique<Server>();
        port = server().start();
        ASSERT_NE(port, 0);
        server().waitForQuery(QStringLiteral("S1"), 180000, [this](std::optional<Query> q) {
            result = q;
            finished = true;
        });
    }
    void TearDown() override
    {
        owned.reset();
        Clock::setCurrent(nullptr);
        Lang::setForTesting(std::nullopt);
    }

    FakeClock clock;
    std::unique_ptr<Server> owned;
    LoopbackServer &server() { return *owned; }
    quint16 port = 0;
    bool finished = false;
    std::optional<Query> result;
};

} // namespace

TEST(LoopbackParse, ReadsTheQueryOfTheRequestLine)
{
    const struct
    {
        const char *line;
        Query expected;
    } cases[] = {
        {"GET /?state=s&code=c&scope=x HTTP/1.1", {{"state", "s"}, {"code", "c"}, {"scope", "x"}}},
        {"GET /favicon.ico HTTP/1.1", {}},
        {"GET /?code=1&code=2 HTTP/1.1", {{"code", "2"}}},
        {"GET /?code=1&code HTTP/1.1", {}},
        {"GET /?a%20b=c%2Fd&p=1+2 HTTP/1.1", {{"a b", "c/d"}, {"p", "1+2"}}},
        {"GET   /?x=1   HTTP/1.1", {{"x", "1"}}},
        {"GET", {}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LoopbackServer::parse(c.line), c.expected) << c.line;
}

TEST(LoopbackParse, AnswerHeadIsFixed)
{
    Lang::setForTesting(true);
    const QByteArray page = LoopbackListener::answer(true);
    const QByteArray message = QStringLiteral("<h2>つながりました</h2><p>Quillmere に戻ってください。</p>").toUtf8();
    ASSERT_TRUE(page.endsWith(message + "</body></html>"));
    EXPECT_EQ(page.size() - message.size() - 14, 235);
    EXPECT_TRUE(page.startsWith("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n\r\n"));
    Lang::setForTesting(std::nullopt);
}

TEST_F(LoopbackTest, StrayConnectionsDoNotEndTheWait)
{
    Visit empty(port, {});
    empty.socket->waitForConnected(5000);
    empty.socket->disconnectFromHost();
    Visit icon(port, get("/favicon.ico"));
    ASSERT_TRUE(icon.waitClosed());
    EXPECT_TRUE(icon.received.startsWith("HTTP/1.1 404"));
    Visit stranger(port, get("/?state=other&code=evil"));
    ASSERT_TRUE(stranger.waitClosed());
    EXPECT_TRUE(stranger.received.contains(L("<h2>つながりませんでした</h2><p>Quillmere に戻ってください。</p>").toUtf8()));
    EXPECT_FALSE(finished);

    Visit real(port, get("/?state=S1&code=C1&scope=x"));
    ASSERT_TRUE(real.waitClosed());
    ASSERT_TRUE(finished);
    EXPECT_EQ(result, (Query{{"state", "S1"}, {"code", "C1"}, {"scope", "x"}}));
    EXPECT_TRUE(real.received.contains(L("<h2>つながりました</h2><p>Quillmere に戻ってください。</p>").toUtf8()));
}

TEST_F(LoopbackTest, RequestLineIsReadWholeAcrossPackets)
{
    Visit slow(port, "GET /?state=S1&co");
    ASSERT_TRUE(spinUntil([&] { return slow.socket->bytesToWrite() == 0; }));
    EXPECT_FALSE(spinUntil([&] { return finished; }, 100));
    slow.socket->write("de=C2 HTTP/1.1\r\n\r\n");
    ASSERT_TRUE(spinUntil([&] { return finished; }));
    EXPECT_EQ(result->value(QStringLiteral("code")), QStringLiteral("C2"));
}

TEST_F(LoopbackTest, OverlongLineIsRefusedAndTheWaitGoesOn)
{
    Visit huge(port, "GET /?state=S1&code=" + QByteArray(9000, 'x'));
    ASSERT_TRUE(huge.waitClosed());
    EXPECT_TRUE(huge.received.startsWith("HTTP/1.1 414"));
    EXPECT_FALSE(finished);
}

TEST_F(LoopbackTest, SilentConnectionIsDroppedAfterItsTimeOut)
{
    Visit silent(port, "GET /?sta");
    ASSERT_TRUE(spinUntil([&] { return silent.socket->bytesToWrite() == 0 && silent.socket->state() == QAbstractSocket::ConnectedState; }));
    spinUntil([&] { return false; }, 50); // let the server take the connection
    clock.advance(LoopbackServer::kConnectionTimeoutMs);
    EXPECT_TRUE(silent.waitClosed());
    EXPECT_FALSE(finished);
}

TEST_F(LoopbackTest, TimeOutGivesNothingOrTheLastWrongAnswer)
{
    clock.advance(179999);
    EXPECT_FALSE(finished);
    clock.advance(1);
    ASSERT_TRUE(finished);
    EXPECT_FALSE(result.has_value());

    Server second;
    ASSERT_NE(second.start(), 0);
    std::optional<Query> got;
    bool done = false;
    second.waitForQuery(QStringLiteral("S2"), 180000, [&](std::optional<Query> q) {
        got = q;
        done = true;
    });
    Visit stranger(second.port(), get("/?state=wrong&code=C"));
    ASSERT_TRUE(stranger.waitClosed());
    clock.advance(180000);
    ASSERT_TRUE(done);
    EXPECT_EQ(got, (Query{{"state", "wrong"}, {"code", "C"}}));
}

TEST(LoopbackServer, WaitWithoutListenerEndsAtOnce)
{
    Server server;
    bool done = false;
    server.waitForQuery(QStringLiteral("S"), 180000, [&](std::optional<Query> q) {
        EXPECT_FALSE(q.has_value());
        done = true;
    });
    EXPECT_TRUE(done);
}

// The sign-in closes the listener as soon as a refusal arrives; the browser
// must still get its page rather than a reset connection.
TEST(LoopbackServer, AnswerReachesTheBrowserWhenTheOwnerClosesAtOnce)
{
    Lang::setForTesting(true);
    FakeClock clock;
    Clock::setCurrent(&clock);
    {
        Server server;
        const quint16 port = server.start();
        ASSERT_NE(port, 0);
        bool done = false;
        server.waitForQuery(QStringLiteral("S1"), 180000, [&](std::optional<Query>) {
            done = true;
            server.close();
        });
        Visit denied(port, get("/?state=S1&error=access_denied"));
        ASSERT_TRUE(denied.waitClosed());
        EXPECT_TRUE(done);
        EXPECT_TRUE(denied.received.contains(L("<h2>つながりませんでした</h2><p>Quillmere に戻ってください。</p>").toUtf8()));
    }
    Clock::setCurrent(nullptr);
    Lang::setForTesting(std::nullopt);
}
