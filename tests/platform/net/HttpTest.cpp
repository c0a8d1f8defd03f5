#include "platform/net/Http.h"
#include "platform/net/module/QtHttp.h"

#include "platform/fakes/FakeClock.h"
#include "support/FakeHttpServer.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <gtest/gtest.h>

namespace {

struct HttpTest : ::testing::Test
{
    FakeClock clock;
    FakeHttpServer server;
    void SetUp() override { Clock::setCurrent(&clock); }
    void TearDown() override { Clock::setCurrent(nullptr); }
};

} // namespace

// A reply the layer aborted itself (its time-out, or a body past the limit)
// may report finished again before it is deleted; the completion must still
// run once and the count in flight must come back to zero, not below.
TEST_F(HttpTest, AnAbortedRequestCompletesOnce)
{
    const struct
    {
        const char *name;
        FakeHttpServer::Answer answer;
        qint64 maxBodyBytes;
        qint64 advanceMs;
        bool replied;
        NetFailure failure;
    } cases[] = {
        {"own time-out", FakeHttpServer::Answer::hanging(), 0, 5000, false, NetFailure::TimedOut},
        {"body too large", FakeHttpServer::Answer::reply(200, QByteArray(4096, 'x')), 16, 0, true, NetFailure::None},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearAnswers();
        server.answer("GET", QStringLiteral("/slow"), c.answer);
        HttpRequest request;
        request.url = server.url(QStringLiteral("/slow"));
        request.timeoutMs = 5000;
        request.maxBodyBytes = c.maxBodyBytes;
        QList<HttpResult> results;
        Http::send(request, nullptr, [&](const HttpResult &r) { results.append(r); });
        ASSERT_EQ(Http::inFlight(), 1);
        if (c.advanceMs > 0) {
            ASSERT_TRUE(spinUntil([&] { return server.requests().size() == 1; }));
            clock.advance(c.advanceMs);
        } else {
            ASSERT_TRUE(spinUntil([&] { return !results.isEmpty(); }));
        }
        ASSERT_EQ(results.size(), 1);
        EXPECT_EQ(results[0].replied, c.replied);
        EXPECT_EQ(results[0].failure, c.failure);

        // The reply waits for deletion; it finishes once more.
        const QList<QNetworkReply *> replies = QtHttp::manager().findChildren<QNetworkReply *>();
        ASSERT_FALSE(replies.isEmpty());
        for (QNetworkReply *reply : replies)
            emit reply->finished();
        spinUntil([] { return false; }, 50);
        EXPECT_EQ(results.size(), 1);
        EXPECT_EQ(Http::inFlight(), 0);
        server.clearRequests();
    }
}

TEST_F(HttpTest, ReplyHeadersAreHandedOn)
{
    FakeHttpServer::Answer answer = FakeHttpServer::Answer::reply(429, "{}");
    answer.headers.append(qMakePair(QByteArray("Retry-After"), QByteArray("7")));
    server.answer("GET", QStringLiteral("/busy"), answer);
    HttpRequest request;
    request.url = server.url(QStringLiteral("/busy"));
    std::optional<HttpResult> result;
    Http::send(request, nullptr, [&](const HttpResult &r) { result = r; });
    ASSERT_TRUE(spinUntil([&] { return result.has_value(); }));
    EXPECT_EQ(result->status, 429);
    EXPECT_EQ(result->header("retry-after"), QByteArray("7"));
    EXPECT_TRUE(result->header("X-Absent").isEmpty());
}
