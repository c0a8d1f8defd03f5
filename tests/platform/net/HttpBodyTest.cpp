// Reply bodies are read whole whatever their length, and a body limit holds.
#include "platform/net/Http.h"
#include "support/FakeHttpServer.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

QByteArray pattern(qsizetype size)
{
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char('a' + (i * 7 + i / 4096) % 26);
    return out;
}

TEST(HttpBody, ArrivesWholeAndWithinItsLimit)
{
    struct Case
    {
        const char *name;
        qsizetype size;
        qint64 limit;
        bool tooLarge;
    };
    const Case cases[] = {
        {"several megabytes, read over many turns", 6 << 20, 0, false},
        {"exactly at the limit", 1000, 1000, false},
        {"one byte past the limit", 1001, 1000, true},
        {"empty", 0, 0, false},
    };
    FakeHttpServer server;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray body = pattern(c.size);
        server.clearAnswers();
        server.answer("GET", QStringLiteral("/body"), 200, body, "application/octet-stream");
        HttpRequest request;
        request.url = server.url(QStringLiteral("/body"));
        request.maxBodyBytes = c.limit;
        std::optional<HttpResult> result;
        Http::send(request, nullptr, [&](const HttpResult &r) { result = r; });
        ASSERT_TRUE(spinUntil([&] { return result.has_value(); }));
        EXPECT_TRUE(result->replied);
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(result->tooLarge, c.tooLarge);
        if (c.tooLarge)
            EXPECT_TRUE(result->body.isEmpty());
        else
            EXPECT_EQ(result->body, body);
    }
}

} // namespace
