#include "sources/NewVersion.h"

#include "platform/fakes/FakeClock.h"
#include "platform/files/Preferences.h"
#include "support/FakeHttpServer.h"
#include "support/ScopedAddresses.h"
#include "support/ScopedDirs.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

class NewVersionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setCurrent(&clock);
        config.updateHost = server.url();
    }
    void TearDown() override { Clock::setCurrent(nullptr); }

    std::optional<NewVersion::Found> check(const QString &here, const std::optional<QDateTime> &lastLooked,
                                           const QDateTime &now)
    {
        bool done = false;
        std::optional<NewVersion::Found> out;
        NewVersion::check(here, lastLooked, now, [&](std::optional<NewVersion::Found> f) {
            out = f;
            done = true;
        }, config);
        EXPECT_TRUE(spinUntil([&] { return done; }));
        return out;
    }

    FakeClock clock;
    FakeHttpServer server;
    NewVersionConfig config;
    const QDateTime now = QDateTime(QDate(2025, 3, 4), QTime(9, 0), Qt::UTC);
};

} // namespace

TEST(NewVersionCompare, NumberByNumber)
{
    const struct
    {
        const char *candidate;
        const char *running;
        bool newer;
    } cases[] = {
        {"1.10", "1.9", true},
        {"1.2", "1.2.0", false},
        {"1.2.0", "1.2", false},
        {"1.2.1", "1.2", true},
        {"2.0-beta", "1.9", true},
        {"ver2", "1", true},
        {"", "0", false},
        {"1..2", "1.1", true},
        {"2b3", "22", true},
        {"1.0rc1", "1.0", true},
        {"1.99999999999999999999999999", "1.99999999999999999999999998", true},
        {"1.99999999999999999999999998", "1.99999999999999999999999999", false},
        {"1.000000000000000000000000001", "1.1", false},
        {"1.\u0661", "1.0", false}, // digits of another script read as 0
        {"1.3\u00B2", "1.2", false}, // a superscript spoils the piece: 0
        {"1.\u00BD5", "1.4", false}, // so does a fraction
    };
    for (const auto &c : cases)
        EXPECT_EQ(NewVersion::isNewer(QString::fromUtf8(c.candidate), QString::fromUtf8(c.running)), c.newer)
            << c.candidate << " vs " << c.running;
}

TEST_F(NewVersionTest, FeedAnswers)
{
    const struct
    {
        const char *name;
        int status;
        QByteArray body;
        bool found;
        std::optional<QString> note;
    } cases[] = {
        {"newer with note", 200, R"({"version":"1.10","url":"https://example.org/get","note":"Quieter bells"})", true,
         QStringLiteral("Quieter bells")},
        {"note absent", 200, R"({"version":"2.0","url":"https://example.org/get"})", true, std::nullopt},
        {"note null", 200, R"({"version":"2.0","url":"http://example.org/get","note":null})", true, std::nullopt},
        {"same version", 200, R"({"version":"1.9.0","url":"https://example.org/get"})", false, {}},
        {"no url", 200, R"({"version":"2.0"})", false, {}},
        {"url not web", 200, R"({"version":"2.0","url":"file:///etc/passwd"})", false, {}},
        {"url javascript", 200, R"x({"version":"2.0","url":"javascript:alert(1)"})x", false, {}},
        {"note of wrong type", 200, R"({"version":"2.0","url":"https://example.org","note":5})", false, {}},
        {"not json", 200, "<html>", false, {}},
        {"array", 200, "[]", false, {}},
        {"too large", 200, R"({"version":"2.0","url":"https://example.org","note":")" + QByteArray(70000, 'x') + "\"}",
         false, {}},
        {"304", 304, {}, false, {}},
        {"404", 404, R"({"version":"2.0","url":"https://example.org"})", false, {}},
        {"500", 500, R"({"version":"2.0","url":"https://example.org"})", false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearAnswers();
        server.answer("GET", QStringLiteral("/latest.json"), c.status, c.body);
        const auto found = check(QStringLiteral("1.9"), std::nullopt, now);
        ASSERT_EQ(found.has_value(), c.found);
        if (found) {
            EXPECT_EQ(found->note, c.note);
        }
    }
    EXPECT_EQ(server.requests("GET", QStringLiteral("/latest.json")).size(), int(std::size(cases)));
}

// The feed host is the build's; a build that names none never sends a
// request, so no banner can come from anywhere.
TEST_F(NewVersionTest, TheFeedHostIsTheBuildsAndWithoutOneNothingIsSent)
{
    server.answer("GET", QStringLiteral("/latest.json"), 200, R"({"version":"2.0","url":"https://example.org"})");
    {
        ScopedAddresses none{ProjectAddresses{}};
        EXPECT_TRUE(NewVersionConfig().updateHost.isEmpty());
        bool done = false;
        std::optional<NewVersion::Found> found;
        NewVersion::check(QStringLiteral("1.0"), std::nullopt, now, [&](std::optional<NewVersion::Found> f) {
            found = f;
            done = true;
        });
        EXPECT_TRUE(done) << "answered at once, without a request";
        EXPECT_FALSE(found.has_value());
    }
    EXPECT_TRUE(server.requests().isEmpty());

    ScopedAddresses local{ProjectAddresses{server.url(), {}, {}}};
    config = NewVersionConfig();
    EXPECT_EQ(config.updateHost, server.url());
    const auto found = check(QStringLiteral("1.0"), std::nullopt, now);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->version, QStringLiteral("2.0"));
    EXPECT_EQ(server.requests("GET", QStringLiteral("/latest.json")).size(), 1);
}

TEST_F(NewVersionTest, AskedAtMostOnceADayAfterAFind)
{
    server.answer("GET", QStringLiteral("/latest.json"), 200, R"({"version":"2.0","url":"https://example.org"})");
    EXPECT_FALSE(check(QStringLiteral("1.0"), now.addSecs(-86399), now).has_value());
    EXPECT_FALSE(check(QStringLiteral("1.0"), now.addSecs(60), now).has_value()); // a stamp from the future
    EXPECT_TRUE(server.requests().isEmpty());
    const auto found = check(QStringLiteral("1.0"), now.addSecs(-86400), now);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->version, QStringLiteral("2.0"));
    EXPECT_EQ(found->url, QUrl(QStringLiteral("https://example.org")));
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(NewVersionTest, StampedCheckWritesTheTimeOnlyWhenSomethingIsFound)
{
    ScopedDirs dirs;
    Preferences &prefs = Preferences::standard();
    clock.setNow(now);
    auto run = [&](const QString &here) {
        bool done = false;
        NewVersion::checkStamped(prefs, here, [&](std::optional<NewVersion::Found>) { done = true; }, config);
        EXPECT_TRUE(spinUntil([&] { return done; }));
    };
    server.answer("GET", QStringLiteral("/latest.json"), 200, R"({"version":"2.0","url":"https://example.org"})");

    run(QStringLiteral("2.0"));
    EXPECT_FALSE(prefs.contains(NewVersion::kLastLookedKey));
    run(QStringLiteral("1.0"));
    EXPECT_EQ(prefs.number(NewVersion::kLastLookedKey), double(now.toSecsSinceEpoch()));
    run(QStringLiteral("1.0"));
    EXPECT_EQ(server.requests().size(), 2);
    clock.advance(86400 * 1000);
    run(QStringLiteral("1.0"));
    EXPECT_EQ(server.requests().size(), 3);
}
