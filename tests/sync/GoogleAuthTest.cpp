#include "sync/GoogleAuth.h"

#include "core/L.h"
#include "platform/fakes/FakeClock.h"
#include "platform/files/AppPaths.h"
#include "platform/files/DataFile.h"
#include "platform/files/Preferences.h"
#include "support/FakeHttpServer.h"
#include "support/ScopedDirs.h"
#include "sync/Keychain.h"
#include "sync/SyncReport.h"

#include <QFile>
#include <QHostAddress>
#include <QTcpSocket>
#include <QUrlQuery>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QByteArray kTokens = R"({"access_token":"at1","expires_in":3600,"refresh_token":"rt1"})";

// Plays the browser: remembers the sign-in address and, when told, comes
// back to the loopback listener with a request of its own.
struct ScriptedBrowser
{
    QUrl opened;
    std::vector<std::unique_ptr<QTcpSocket>> sockets;

    QString param(const QString &name) const
    {
        return QUrlQuery(opened).queryItemValue(name, QUrl::FullyDecoded);
    }
    void send(const QByteArray &bytes)
    {
        const QUrl redirect(param(QStringLiteral("redirect_uri")));
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, quint16(redirect.port()));
        if (!bytes.isEmpty())
            socket->write(bytes);
        else
            QObject::connect(socket.get(), &QTcpSocket::connected, socket.get(), &QTcpSocket::disconnectFromHost);
        sockets.push_back(std::move(socket));
    }
    void comeBack(const QString &query)
    {
        send("GET /?" + query.toUtf8() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    }
};

class GoogleAuthTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Lang::setForTesting(true);
        Clock::setCurrent(&clock);
        Keychain::set(QStringLiteral("client-1"), QStringLiteral("googleClientID"));
        Keychain::set(QStringLiteral("secret-1"), QStringLiteral("googleClientSecret"));
        makeAuth();
    }
    void TearDown() override
    {
        auth.reset();
        Clock::setCurrent(nullptr);
        Lang::setForTesting(std::nullopt);
    }
    void makeAuth()
    {
        GoogleAuthConfig config;
        config.authorizationUrl = server.url(QStringLiteral("/o/oauth2/v2/auth"));
        config.tokenUrl = server.url(QStringLiteral("/token"));
        config.revokeUrl = server.url(QStringLiteral("/revoke"));
        auth = std::make_unique<GoogleAuth>(Preferences::standard(), config);
        auth->setBrowserOpener([this](const QUrl &url) {
            browser.opened = url;
            if (onOpen)
                onOpen();
        });
    }
    // Runs a sign-in to its end; the browser does what onOpen says.
    std::optional<bool> signIn()
    {
        std::optional<bool> outcome;
        auth->connect([&](bool ok) { outcome = ok; });
        spinUntil([&] { return outcome.has_value(); });
        return outcome;
    }
    std::optional<QString> token()
    {
        bool done = false;
        std::optional<QString> got;
        auth->token([&](std::optional<QString> t) {
            got = t;
            done = true;
        });
        spinUntil([&] { return done; });
        return got;
    }
    QString state() const { return browser.param(QStringLiteral("state")); }

    ScopedDirs dirs;
    FakeClock clock;
    FakeHttpServer server;
    ScriptedBrowser browser;
    std::function<void()> onOpen;
    std::unique_ptr<GoogleAuth> auth;
};

} // namespace

TEST(GoogleAuthPkce, ChallengeMatchesTheRfc7636Example)
{
    EXPECT_EQ(GoogleAuth::challenge(QStringLiteral("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk")),
              QStringLiteral("E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM"));
    const QString random = GoogleAuth::randomString(64);
    EXPECT_EQ(random.size(), 64);
    for (QChar c : random)
        EXPECT_TRUE(c.isLetterOrNumber() || QStringLiteral("-._~").contains(c)) << int(c.unicode());
    EXPECT_NE(GoogleAuth::randomString(64), random);
}

TEST_F(GoogleAuthTest, WholeSignInWithPkce)
{
    server.answer("POST", QStringLiteral("/token"), 200, kTokens);
    onOpen = [this] {
        browser.send({}); // an empty connection first, as browsers sometimes open
        browser.comeBack(QStringLiteral("state=") + state() + QStringLiteral("&code=4/abc&scope=x"));
    };
    QList<bool> connectingSeen;
    QObject::connect(auth.get(), &GoogleAuth::isConnectingChanged, [&] { connectingSeen.append(auth->isConnecting()); });

    EXPECT_EQ(signIn(), true);

    QStringList keys;
    for (const auto &item : QUrlQuery(browser.opened).queryItems())
        keys.append(item.first);
    EXPECT_EQ(keys, QStringList({"client_id", "redirect_uri", "response_type", "scope", "code_challenge",
                                 "code_challenge_method", "access_type", "prompt", "state"}));
    EXPECT_EQ(browser.opened.path(), QStringLiteral("/o/oauth2/v2/auth"));
    EXPECT_EQ(browser.param(QStringLiteral("client_id")), QStringLiteral("client-1"));
    EXPECT_TRUE(browser.param(QStringLiteral("redirect_uri")).startsWith(QStringLiteral("http://127.0.0.1:")));
    EXPECT_EQ(browser.param(QStringLiteral("scope")), QStringLiteral("https://www.googleapis.com/auth/drive.appdata"));
    EXPECT_EQ(browser.param(QStringLiteral("code_challenge_method")), QStringLiteral("S256"));
    EXPECT_EQ(state().size(), 24);

    const auto posts = server.requests("POST", QStringLiteral("/token"));
    ASSERT_EQ(posts.size(), 1);
    EXPECT_EQ(posts[0].header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    const QUrlQuery form(QString::fromUtf8(posts[0].body));
    auto field = [&](const char *name) { return form.queryItemValue(QString::fromLatin1(name), QUrl::FullyDecoded); };
    EXPECT_EQ(field("code"), QStringLiteral("4/abc"));
    EXPECT_EQ(field("grant_type"), QStringLiteral("authorization_code"));
    EXPECT_EQ(field("client_id"), QStringLiteral("client-1"));
    EXPECT_EQ(field("client_secret"), QStringLiteral("secret-1"));
    EXPECT_EQ(field("redirect_uri"), browser.param(QStringLiteral("redirect_uri")));
    EXPECT_EQ(GoogleAuth::challenge(field("code_verifier")), browser.param(QStringLiteral("code_challenge")));
    EXPECT_EQ(field("code_verifier").size(), 64);
    EXPECT_TRUE(posts[0].body.contains("redirect_uri=http%3A%2F%2F127.0.0.1%3A"));

    EXPECT_TRUE(auth->isConnected());
    EXPECT_FALSE(auth->isConnecting());
    EXPECT_EQ(connectingSeen, QList<bool>({true, false}));
    EXPECT_EQ(Keychain::get(QStringLiteral("googleRefreshToken")), QStringLiteral("rt1"));
    EXPECT_EQ(token(), QStringLiteral("at1"));
    EXPECT_EQ(server.requests().size(), 1); // the fresh token is reused
}

TEST_F(GoogleAuthTest, RedirectsThatDoNotGrant)
{
    const struct
    {
        const char *name;
        std::function<QString(const QString &)> query; // from the expected state
        QString message;
    } cases[] = {
        {"denied", [](const QString &s) { return QStringLiteral("state=") + s + QStringLiteral("&error=access_denied"); },
         QStringLiteral("許可されませんでした（access_denied）。")},
        {"neither", [](const QString &s) { return QStringLiteral("state=") + s; }, QStringLiteral("許可されませんでした。")},
        {"long error",
         [](const QString &s) { return QStringLiteral("state=") + s + QStringLiteral("&error=") + QString(300, 'x'); },
         QStringLiteral("許可されませんでした（") + QString(200, 'x') + QStringLiteral("）。")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        onOpen = [&] { browser.comeBack(c.query(state())); };
        EXPECT_EQ(signIn(), false);
        EXPECT_EQ(auth->lastError(), c.message);
        EXPECT_FALSE(auth->isConnecting());
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(GoogleAuthTest, WrongStateWaitsForTheRightOneOrReportsAMismatch)
{
    server.answer("POST", QStringLiteral("/token"), 200, kTokens);
    onOpen = [this] {
        browser.comeBack(QStringLiteral("state=forged&code=evil"));
        browser.comeBack(QStringLiteral("state=") + state() + QStringLiteral("&code=good"));
    };
    EXPECT_EQ(signIn(), true);
    EXPECT_EQ(QUrlQuery(QString::fromUtf8(server.requests()[0].body)).queryItemValue(QStringLiteral("code")),
              QStringLiteral("good"));

    onOpen = [this] { browser.comeBack(QStringLiteral("state=forged&code=evil")); };
    std::optional<bool> outcome;
    auth->connect([&](bool ok) { outcome = ok; });
    ASSERT_TRUE(spinUntil([&] { return browser.sockets.back()->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_FALSE(outcome.has_value());
    clock.advance(180000);
    ASSERT_TRUE(spinUntil([&] { return outcome.has_value(); }));
    EXPECT_FALSE(*outcome);
    EXPECT_EQ(auth->lastError(), QStringLiteral("返事の合い言葉が合いません。"));
}

TEST_F(GoogleAuthTest, NoBrowserReplyTimesOut)
{
    std::optional<bool> outcome;
    auth->connect([&](bool ok) { outcome = ok; });
    EXPECT_EQ(auth->isConnecting(), true);
    bool again = true;
    auth->connect([&](bool ok) { again = ok; });
    EXPECT_FALSE(again); // one sign-in at a time
    clock.advance(180000);
    ASSERT_TRUE(spinUntil([&] { return outcome.has_value(); }));
    EXPECT_FALSE(*outcome);
    EXPECT_EQ(auth->lastError(), QStringLiteral("許可の返事がありませんでした。"));
    EXPECT_FALSE(auth->isConnecting());
}

TEST_F(GoogleAuthTest, FailedExchangeKeepsTheOlderToken)
{
    Keychain::set(QStringLiteral("old"), QStringLiteral("googleRefreshToken"));
    makeAuth();
    ASSERT_TRUE(auth->isConnected());
    const QByteArray answers[] = {R"({"error":"invalid_grant"})", R"({"refresh_token":"new"})"};
    for (const QByteArray &answer : answers) {
        SCOPED_TRACE(answer.constData());
        server.clearAnswers();
        server.answer("POST", QStringLiteral("/token"), 400, answer);
        onOpen = [this] { browser.comeBack(QStringLiteral("state=") + state() + QStringLiteral("&code=c")); };
        EXPECT_EQ(signIn(), false);
        EXPECT_EQ(auth->lastError(), QStringLiteral("合鍵を受け取れませんでした。"));
        EXPECT_EQ(Keychain::get(QStringLiteral("googleRefreshToken")), QStringLiteral("old"));
        EXPECT_TRUE(auth->isConnected());
    }
}

TEST_F(GoogleAuthTest, TokenIsReusedUntilSixtySecondsBeforeExpiry)
{
    Keychain::set(QStringLiteral("rt"), QStringLiteral("googleRefreshToken"));
    server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"a1","expires_in":3600})");
    server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"a2"})");

    EXPECT_EQ(token(), QStringLiteral("a1"));
    const QUrlQuery form(QString::fromUtf8(server.requests()[0].body));
    EXPECT_EQ(form.queryItemValue(QStringLiteral("grant_type")), QStringLiteral("refresh_token"));
    EXPECT_EQ(form.queryItemValue(QStringLiteral("refresh_token")), QStringLiteral("rt"));

    clock.advance((3600 - 61) * 1000);
    EXPECT_EQ(token(), QStringLiteral("a1"));
    EXPECT_EQ(server.requests().size(), 1);
    clock.advance(1000);
    EXPECT_EQ(token(), QStringLiteral("a2"));
    EXPECT_EQ(server.requests().size(), 2);
    // That answer had no expiry: the old one stands, so the next call refreshes again.
    EXPECT_EQ(token(), QStringLiteral("a2"));
    EXPECT_EQ(server.requests().size(), 3);
}

TEST_F(GoogleAuthTest, OnlyARefusedGrantDropsTheRefreshToken)
{
    const struct
    {
        const char *name;
        FakeHttpServer::Answer answer;
        bool keeps;
        QString message;
    } cases[] = {
        {"invalid_grant", FakeHttpServer::Answer::reply(400, R"({"error":"invalid_grant"})"), false,
         QStringLiteral("繋ぎ直してください。")},
        {"unavailable", FakeHttpServer::Answer::reply(503, R"({"error":"temporarily_unavailable"})"), true,
         QStringLiteral("合鍵を受け取れませんでした。")},
        {"closed", FakeHttpServer::Answer::closing(), true, QString()},
        {"not json", FakeHttpServer::Answer::reply(502, "<html>"), true, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Keychain::set(QStringLiteral("rt"), QStringLiteral("googleRefreshToken"));
        makeAuth();
        server.clearAnswers();
        server.answer("POST", QStringLiteral("/token"), c.answer);

        EXPECT_FALSE(token().has_value());
        EXPECT_EQ(Keychain::get(QStringLiteral("googleRefreshToken")).has_value(), c.keeps);
        EXPECT_EQ(auth->isConnected(), c.keeps);
        EXPECT_TRUE(server.requests("POST", QStringLiteral("/revoke")).isEmpty()) << "a dead token is not handed back";
        if (!c.message.isEmpty())
            EXPECT_EQ(auth->lastError(), c.message);
        else
            EXPECT_FALSE(auth->lastError().isEmpty());
    }
}

TEST_F(GoogleAuthTest, DisconnectRevokesTheRefreshTokenAndForgetsItAtOnce)
{
    AppPaths::ensureDir(dirs.dataDir());
    const struct
    {
        const char *name;
        FakeHttpServer::Answer answer;
        bool revoked;
        QString logged; // the detail line of the report entry, when one is written
    } cases[] = {
        {"revoked", FakeHttpServer::Answer::reply(200, "{}"), true, {}},
        {"refused", FakeHttpServer::Answer::reply(400, R"({"error":"invalid_token"})"), false,
         QStringLiteral("取り消し 400: {\"error\":\"invalid_token\"}")},
        {"unreachable", FakeHttpServer::Answer::closing(), false, QStringLiteral("取り消し：URLError ")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(SyncReport::logPath());
        Keychain::set(QStringLiteral("1//secret-refresh"), QStringLiteral("googleRefreshToken"));
        makeAuth();
        server.clearAnswers();
        server.clearRequests();
        server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"at","expires_in":3600})");
        server.answer("POST", QStringLiteral("/revoke"), c.answer);
        ASSERT_EQ(token(), QStringLiteral("at"));

        std::optional<bool> revoked;
        auth->disconnect([&](bool ok) { revoked = ok; });
        // Signed out at once, whatever Google says later.
        EXPECT_FALSE(auth->isConnected());
        EXPECT_FALSE(Keychain::get(QStringLiteral("googleRefreshToken")).has_value());
        EXPECT_FALSE(token().has_value());
        ASSERT_TRUE(spinUntil([&] { return revoked.has_value(); }));
        EXPECT_EQ(*revoked, c.revoked);

        const auto posts = server.requests("POST", QStringLiteral("/revoke"));
        ASSERT_GE(posts.size(), 1);
        EXPECT_EQ(posts[0].header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
        EXPECT_EQ(posts[0].body, QByteArray("token=1%2F%2Fsecret-refresh"));
        EXPECT_EQ(server.requests("POST", QStringLiteral("/token")).size(), 1);
        EXPECT_TRUE(auth->lastError().isEmpty());
        EXPECT_EQ(Keychain::get(QStringLiteral("googleClientID")), QStringLiteral("client-1"));
        const QString log = QString::fromUtf8(DataFile::read(SyncReport::logPath()).bytes);
        if (c.logged.isEmpty()) {
            EXPECT_TRUE(log.isEmpty()) << log.toStdString();
        } else {
            EXPECT_TRUE(log.contains(QStringLiteral("　Google の合鍵を取り消せませんでした。\n　") + c.logged))
                << log.toStdString();
            EXPECT_FALSE(log.contains(QStringLiteral("secret"))) << "the token never reaches the log";
        }
    }

    // Nothing stored: nothing to send.
    server.clearRequests();
    std::optional<bool> revoked;
    auth->disconnect([&](bool ok) { revoked = ok; });
    EXPECT_EQ(revoked, true);
    spinUntil([] { return false; }, 50);
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(GoogleAuthTest, LoadsClientFiles)
{
    const struct
    {
        const char *name;
        QByteArray file;
        bool ok;
        QString id;
        std::optional<QString> secret;
        QString message;
    } cases[] = {
        {"installed", R"({"installed":{"client_id":"i1","client_secret":"s1"},"web":{"client_id":"w"}})", true, "i1", "s1", {}},
        {"web", R"({"web":{"client_id":"w1","client_secret":"s2"}})", true, "w1", "s2", {}},
        {"flat without secret", R"({"client_id":"f1"})", true, "f1", std::nullopt, {}},
        {"installed not an object", R"({"installed":5,"web":{"client_id":"w"},"client_id":"top"})", true, "top",
         std::nullopt, {}},
        {"no id", R"({"installed":{"client_secret":"s"}})", false, {}, {}, QStringLiteral("設定ファイルに client_id がありません。")},
        {"not json", "client_id", false, {}, {}, QStringLiteral("この設定ファイルは読めませんでした。")},
        {"array", "[]", false, {}, {}, QStringLiteral("この設定ファイルは読めませんでした。")},
    };
    const QString path = dirs.root() + QStringLiteral("/client.json");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Keychain::set(QStringLiteral("before"), QStringLiteral("googleClientID"));
        Keychain::set(QStringLiteral("old-secret"), QStringLiteral("googleClientSecret"));
        ASSERT_TRUE(DataFile::writeAtomically(path, c.file));
        EXPECT_EQ(auth->loadClient(path), c.ok);
        if (c.ok) {
            EXPECT_EQ(auth->clientID(), c.id);
            EXPECT_EQ(Keychain::get(QStringLiteral("googleClientSecret")), c.secret);
            EXPECT_TRUE(auth->lastError().isEmpty());
        } else {
            EXPECT_EQ(auth->clientID(), QStringLiteral("before"));
            EXPECT_EQ(auth->lastError(), c.message);
        }
    }
    EXPECT_FALSE(auth->loadClient(dirs.root() + QStringLiteral("/missing.json")));
}

TEST_F(GoogleAuthTest, SignInNeedsAClient)
{
    Keychain::set(std::nullopt, QStringLiteral("googleClientID"));
    makeAuth();
    EXPECT_EQ(signIn(), false);
    EXPECT_EQ(auth->lastError(), QStringLiteral("先に Google の設定ファイルを読み込んでください。"));
    EXPECT_FALSE(auth->isConnecting());
    EXPECT_FALSE(browser.opened.isValid());
}
