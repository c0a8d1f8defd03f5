#include "sync/DriveSyncStore.h"

#include "support/SignedInDrive.h"

#include "core/L.h"
#include "platform/files/AppPaths.h"
#include "platform/time/Clock.h"
#include "platform/files/DataFile.h"
#include "platform/files/Preferences.h"
#include "support/FakeHttpServer.h"
#include "support/ScopedDirs.h"
#include "sync/GoogleAuth.h"
#include "sync/Keychain.h"
#include "sync/SyncReport.h"

#include <QFile>
#include <QLocale>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Answer = FakeHttpServer::Answer;
const QString kList = QStringLiteral("/drive/v3/files");

QByteArray listing(const QStringList &ids)
{
    QJsonArray files;
    for (const QString &id : ids)
        files.append(QJsonObject{{"id", id}, {"createdTime", "2025-01-01T00:00:00Z"}});
    return QJsonDocument(QJsonObject{{"files", files}}).toJson(QJsonDocument::Compact);
}

class DriveTest : public SignedInDrive
{
protected:
    QList<FakeHttpServer::Request> driveRequests() const
    {
        QList<FakeHttpServer::Request> out;
        for (const auto &r : server.requests())
            if (r.path != QStringLiteral("/token"))
                out.append(r);
        return out;
    }
    QString log() const { return QString::fromUtf8(DataFile::read(SyncReport::logPath()).bytes); }
};

} // namespace

TEST_F(DriveTest, NoCopyYetCreatesTheFileWithAMultipartUpload)
{
    server.answer("GET", kList, 200, R"({"files":[]})");
    server.answer("POST", QStringLiteral("/upload/drive/v3/files"), 200, R"({"id":"new"})");

    const auto [files, ok] = load();
    EXPECT_TRUE(ok);
    EXPECT_TRUE(files.isEmpty());
    const auto list = server.requests("GET", kList).value(0);
    QStringList keys;
    for (const auto &item : list.query.queryItems())
        keys.append(item.first);
    EXPECT_EQ(keys, QStringList({"spaces", "q", "fields", "orderBy", "pageSize"}));
    EXPECT_EQ(list.param(QStringLiteral("spaces")), QStringLiteral("appDataFolder"));
    EXPECT_EQ(list.param(QStringLiteral("q")), QStringLiteral("name = 'quillmere-sync.json' and trashed = false"));
    EXPECT_EQ(list.param(QStringLiteral("fields")),
              QStringLiteral("nextPageToken,incompleteSearch,files(id,createdTime)"));
    EXPECT_EQ(list.param(QStringLiteral("orderBy")), QStringLiteral("createdTime"));
    EXPECT_EQ(list.param(QStringLiteral("pageSize")), QStringLiteral("100"));
    EXPECT_EQ(list.header("Authorization"), QByteArray("Bearer tok"));

    EXPECT_TRUE(save("{\"v\":1}"));
    const auto posts = server.requests("POST", QStringLiteral("/upload/drive/v3/files"));
    ASSERT_EQ(posts.size(), 1);
    EXPECT_EQ(posts[0].param(QStringLiteral("uploadType")), QStringLiteral("multipart"));
    const QByteArray type = posts[0].header("Content-Type");
    ASSERT_TRUE(type.startsWith("multipart/related; boundary=kiv-"));
    const QByteArray boundary = type.mid(type.indexOf('=') + 1);
    EXPECT_EQ(boundary.size(), 40);
    EXPECT_EQ(boundary, boundary.toUpper().replace("KIV-", "kiv-"));
    const QByteArray metadata = R"({"name":"quillmere-sync.json","parents":["appDataFolder"]})";
    EXPECT_EQ(posts[0].body, "--" + boundary + "\r\nContent-Type: application/json; charset=UTF-8\r\n\r\n" + metadata
                                 + "\r\n--" + boundary + "\r\nContent-Type: application/json\r\n\r\n{\"v\":1}\r\n--"
                                 + boundary + "--\r\n");
    EXPECT_TRUE(drive->lastError().isEmpty());
}

TEST_F(DriveTest, ThreeCopiesAreReadThenTheOldestRewrittenAndTheRestDeleted)
{
    server.answer("GET", kList, 200, listing({"A", "B", "C"}));
    for (const char *id : {"A", "B", "C"})
        server.answer("GET", kList + QStringLiteral("/") + QLatin1String(id), 200, QByteArray("body-") + id);
    server.answer("PATCH", QStringLiteral("/upload/drive/v3/files/A"), 200, "{}");
    SyncReport::setLastError(QStringLiteral("earlier failure"));

    const auto [files, ok] = load();
    EXPECT_TRUE(ok);
    EXPECT_EQ(files, (QList<QByteArray>{"body-A", "body-B", "body-C"}));
    EXPECT_EQ(server.requests("GET", kList + QStringLiteral("/B")).value(0).param(QStringLiteral("alt")),
              QStringLiteral("media"));

    EXPECT_TRUE(save("merged"));
    const auto update = server.requests("PATCH", QStringLiteral("/upload/drive/v3/files/A"));
    ASSERT_EQ(update.size(), 1);
    EXPECT_EQ(update[0].param(QStringLiteral("uploadType")), QStringLiteral("media"));
    EXPECT_EQ(update[0].header("Content-Type"), QByteArray("application/json"));
    EXPECT_EQ(update[0].body, QByteArray("merged"));
    for (const char *id : {"B", "C"}) {
        const auto removal = server.requests("DELETE", kList + QStringLiteral("/") + QLatin1String(id));
        ASSERT_EQ(removal.size(), 1) << id;
        EXPECT_TRUE(removal[0].body.isEmpty());
        EXPECT_EQ(removal[0].header("Authorization"), QByteArray("Bearer tok"));
        EXPECT_TRUE(server.requests("PATCH", kList + QStringLiteral("/") + QLatin1String(id)).isEmpty());
    }
    EXPECT_TRUE(drive->lastError().isEmpty());
}

TEST_F(DriveTest, SaveDeletesOnlyCopiesThisSyncRead)
{
    server.answer("GET", kList, 200, listing({"A"}));
    server.answer("GET", kList, 200, listing({"A", "B"})); // B appeared after the load
    server.answer("GET", kList + QStringLiteral("/A"), 200, "a");
    server.answer("PATCH", QStringLiteral("/upload/drive/v3/files/A"), 200, "{}");
    ASSERT_TRUE(load().second);
    EXPECT_TRUE(save("merged"));
    EXPECT_TRUE(server.requests("DELETE", kList + QStringLiteral("/B")).isEmpty());
    EXPECT_EQ(server.requests("PATCH", QStringLiteral("/upload/drive/v3/files/A")).size(), 1);
}

TEST_F(DriveTest, FailedDownloadFailsTheLoad)
{
    server.answer("GET", kList, 200, listing({"A", "B"}));
    server.answer("GET", kList + QStringLiteral("/A"), 404, "gone");
    server.answer("GET", kList + QStringLiteral("/B"), 200, "b");
    const auto [files, ok] = load();
    EXPECT_FALSE(ok);
    EXPECT_EQ(files, QList<QByteArray>{"b"});
}

TEST_F(DriveTest, UnsafeFileIdsNeverReachAUrl)
{
    server.answer("GET", kList, 200, R"({"files":[{"id":"../../x"},{"id":"a b"},{"id":"Ok_1-2"},{"name":"no id"}]})");
    server.answer("GET", kList + QStringLiteral("/Ok_1-2"), 200, "fine");
    const auto [files, ok] = load();
    EXPECT_TRUE(ok);
    EXPECT_EQ(files, QList<QByteArray>{"fine"});
    EXPECT_EQ(driveRequests().size(), 2);
}

TEST_F(DriveTest, TransientFailuresAreTriedAgain)
{
    const struct
    {
        const char *name;
        QList<Answer> answers;
        bool ok;
        int minRequests;
        QString message;
    } cases[] = {
        {"503 then 200", {Answer::reply(503, "busy"), Answer::reply(200, R"({"files":[]})")}, true, 2, {}},
        {"503 twice", {Answer::reply(503, "busy")}, false, 2, QStringLiteral("置けませんでした（503）。")},
        {"closed then 200", {Answer::closing(), Answer::reply(200, R"({"files":[]})")}, true, 2, {}},
        {"cut off mid-body then 200", {Answer::cut(200, R"({"files":[]})"), Answer::reply(200, R"({"files":[]})")},
         true, 2, {}},
        {"cut off twice", {Answer::cut(200, R"({"files":[]})")}, false, 2,
         QStringLiteral("ネットに繋がりませんでした。")},
        {"404 once", {Answer::reply(404, "nope")}, false, 1, QStringLiteral("置けませんでした（404）。")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearAnswers();
        server.clearRequests();
        server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"tok","expires_in":3600})");
        for (const Answer &a : c.answers)
            server.answer("GET", kList, a);
        SyncReport::clearLastError();
        const auto [files, ok] = load();
        EXPECT_EQ(ok, c.ok);
        EXPECT_GE(server.requests("GET", kList).size(), c.minRequests);
        EXPECT_EQ(drive->lastError(), c.message);
    }
    EXPECT_EQ(server.requests("GET", kList).size(), 1); // a 404 is not repeated
    EXPECT_TRUE(log().contains(QStringLiteral("　棚を見る 503: busy\n")));
    EXPECT_TRUE(log().contains(QStringLiteral("置けませんでした（404）。\n　棚を見る 404: nope\n")));
}

TEST_F(DriveTest, TimeOutIsRetriedAndReportedAsATimeOut)
{
    server.answer("GET", kList, Answer::hanging());
    std::optional<bool> ok;
    drive->loadAll([&](QList<QByteArray>, bool good) { ok = good; });
    for (int attempt = 1; attempt <= 2; ++attempt) {
        ASSERT_TRUE(spinUntil([&] { return server.requests("GET", kList).size() == attempt; }));
        clock.advance(60000);
        run([&] { return ok.has_value() || server.requests("GET", kList).size() > attempt; });
    }
    ASSERT_TRUE(ok.has_value());
    EXPECT_FALSE(*ok);
    EXPECT_EQ(server.requests("GET", kList).size(), 2);
    EXPECT_EQ(drive->lastError(), QStringLiteral("Google からの返事が、時間内に返ってきませんでした。"));
    EXPECT_TRUE(log().contains(QStringLiteral("\n　棚を見る：URLError -1001：")));
}

TEST_F(DriveTest, UploadRepliesThatFail)
{
    const struct
    {
        const char *name;
        QByteArray path;
        QList<QString> listed;
        Answer answer;
        QString message;
        QString logLine;
    } cases[] = {
        {"update 401", "/upload/drive/v3/files/A", {"A"}, Answer::reply(401, "expired"),
         QStringLiteral("合鍵が切れています。設定で Google を繋ぎ直してください。"), QStringLiteral("書き換え 401: expired")},
        {"update 201", "/upload/drive/v3/files/A", {"A"}, Answer::reply(201, "{}"),
         QStringLiteral("置けませんでした（201）。"), QStringLiteral("書き換え 201: {}")},
        {"create 403", "/upload/drive/v3/files", {}, Answer::reply(403, "insufficientPermissions"),
         QStringLiteral("控えを置く許しがありません。設定で Google を繋ぎ直してください。"),
         QStringLiteral("作成 403: insufficientPermissions")},
        {"create not enabled", "/upload/drive/v3/files", {}, Answer::reply(500, "accessNotConfigured"),
         QStringLiteral("Google Cloud のプロジェクトで Drive API が有効になっていません。コンソールで有効にしてから、もう一度お試しください。"),
         QStringLiteral("作成 500: accessNotConfigured")},
        {"redirect is not followed", "/upload/drive/v3/files", {}, [] {
             Answer a = Answer::reply(302, "");
             a.headers.append(qMakePair(QByteArray("Location"), QByteArray("/elsewhere")));
             return a;
         }(), QStringLiteral("置けませんでした（302）。"), QStringLiteral("作成 302: ")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearAnswers();
        server.clearRequests();
        server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"tok","expires_in":3600})");
        server.answer("GET", kList, 200, listing(c.listed));
        for (const QString &id : c.listed)
            server.answer("GET", kList + QStringLiteral("/") + id, 200, "x");
        server.answer(c.path.endsWith("files") ? "POST" : "PATCH", QString::fromLatin1(c.path), c.answer);
        ASSERT_TRUE(load().second);
        EXPECT_FALSE(save("bytes"));
        EXPECT_EQ(drive->lastError(), c.message);
        EXPECT_TRUE(log().contains(c.message + QStringLiteral("\n　") + c.logLine + QStringLiteral("\n")));
    }
    EXPECT_TRUE(server.requests("POST", QStringLiteral("/elsewhere")).isEmpty());
    EXPECT_TRUE(server.requests("GET", QStringLiteral("/elsewhere")).isEmpty());
    EXPECT_FALSE(log().contains(QStringLiteral("tok")));
}

TEST_F(DriveTest, SignedOutAsksNothing)
{
    auth->disconnect();
    server.clearRequests();
    const auto [files, ok] = load();
    EXPECT_FALSE(ok);
    EXPECT_TRUE(files.isEmpty());
    EXPECT_FALSE(save("x"));
    EXPECT_EQ(drive->lastError(),
              QStringLiteral("Google に繋がっていません。設定の「端末をまたぐ」から繋ぎ直してください。"));
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_FALSE(QFile::exists(SyncReport::logPath()));
}

TEST_F(DriveTest, OnlyRateLimitsAndServerErrorsAreWaitedOut)
{
    const auto error = [](int status, const char *reason) {
        return Answer::reply(status, QByteArray(R"({"error":{"code":)") + QByteArray::number(status)
                                         + R"(,"errors":[{"domain":"usageLimits","reason":")" + reason
                                         + R"("}],"message":"no"}})");
    };
    Answer anHourLater = Answer::reply(429, "{}");
    anHourLater.headers.append(qMakePair(QByteArray("Retry-After"), QByteArray("3600")));
    const struct
    {
        const char *name;
        Answer answer;
        int requests; // the first try and every repeat
    } cases[] = {
        {"429", Answer::reply(429, "{}"), 5},
        {"403 rateLimitExceeded", error(403, "rateLimitExceeded"), 5},
        {"403 userRateLimitExceeded", error(403, "userRateLimitExceeded"), 5},
        {"500", Answer::reply(500, "oops"), 5},
        {"403 for want of permission", error(403, "insufficientFilePermissions"), 1},
        {"403 daily limit", error(403, "dailyLimitExceeded"), 1},
        {"400", error(400, "badRequest"), 1},
        {"429 asking for an hour", anHourLater, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearAnswers();
        server.clearRequests();
        server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"tok","expires_in":3600})");
        server.answer("GET", kList, c.answer);
        const auto [files, ok] = load();
        EXPECT_FALSE(ok);
        EXPECT_EQ(server.requests("GET", kList).size(), c.requests);
        EXPECT_EQ(drive->lastError(), SyncReport::explain(c.answer.status, QString::fromUtf8(c.answer.body)));
    }
}

TEST_F(DriveTest, ARefusedTokenIsRefreshedOnceAndOnlyARefusedGrantAsksToReconnect)
{
    const struct
    {
        const char *name;
        QList<Answer> refreshes; // after the first, which grants "tok"
        bool connected;
        QString message;
    } cases[] = {
        {"refresh refused", {Answer::reply(400, R"({"error":"invalid_grant"})")}, false,
         QStringLiteral("合鍵が切れています。設定で Google を繋ぎ直してください。")},
        {"token endpoint busy", {Answer::reply(503, R"({"error":"temporarily_unavailable"})")}, true,
         QStringLiteral("合鍵を受け取れませんでした。")},
        {"token endpoint unreachable", {Answer::closing()}, true, QStringLiteral("合鍵を受け取れませんでした。")},
        {"fresh token refused too", {Answer::reply(200, R"({"access_token":"tok2","expires_in":3600})")}, true,
         QStringLiteral("合鍵が切れています。設定で Google を繋ぎ直してください。")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Keychain::set(QStringLiteral("rt"), QStringLiteral("googleRefreshToken"));
        auth = std::make_unique<GoogleAuth>(Preferences::standard(), authConfig);
        makeDrive();
        server.clearAnswers();
        server.clearRequests();
        server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"tok","expires_in":3600})");
        for (const Answer &a : c.refreshes)
            server.answer("POST", QStringLiteral("/token"), a);
        server.answer("GET", kList, 401, R"({"error":{"code":401,"errors":[{"reason":"authError"}]}})");

        EXPECT_FALSE(load().second);
        // (Qt itself sends a request once more on a connection closed unanswered.)
        EXPECT_GE(server.requests("POST", QStringLiteral("/token")).size(), 2);
        const auto lists = server.requests("GET", kList);
        EXPECT_EQ(lists.size(), c.refreshes.first().kind == Answer::Kind::Reply && c.refreshes.first().status == 200 ? 2 : 1);
        EXPECT_EQ(auth->isConnected(), c.connected);
        EXPECT_EQ(Keychain::get(QStringLiteral("googleRefreshToken")).has_value(), c.connected);
        EXPECT_EQ(drive->lastError(), c.message);
        EXPECT_TRUE(server.requests("POST", QStringLiteral("/revoke")).isEmpty());
    }
}

TEST_F(DriveTest, ACopyThatCannotBeDeletedIsLoggedAndTheSaveStands)
{
    server.answer("GET", kList, 200, listing({"A", "B", "C"}));
    for (const char *id : {"A", "B", "C"})
        server.answer("GET", kList + QStringLiteral("/") + QLatin1String(id), 200, "x");
    server.answer("PATCH", QStringLiteral("/upload/drive/v3/files/A"), 200, "{}");
    server.answer("DELETE", kList + QStringLiteral("/B"), 403, R"({"error":{"errors":[{"reason":"forbidden"}]}})");
    server.answer("DELETE", kList + QStringLiteral("/C"), 404, R"({"error":{"code":404}})");
    ASSERT_TRUE(load().second);

    EXPECT_TRUE(save("merged"));
    EXPECT_TRUE(drive->lastError().isEmpty());
    EXPECT_EQ(server.requests("DELETE", kList + QStringLiteral("/C")).size(), 1);
    EXPECT_TRUE(log().contains(QStringLiteral("　余分な控えを消せませんでした。\n　片付け 403: ")));
    EXPECT_FALSE(log().contains(QStringLiteral("片付け 404"))) << "a copy already gone is no failure";
}

TEST_F(DriveTest, ListsThatNeverEndOrMissFilesFailTheLoad)
{
    const struct
    {
        const char *name;
        QByteArray page;
    } cases[] = {
        {"incomplete search", R"({"incompleteSearch":true,"files":[{"id":"A"}]})"},
        {"the same page again", R"({"nextPageToken":"same","files":[{"id":"A"}]})"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearAnswers();
        server.clearRequests();
        server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"tok","expires_in":3600})");
        server.answer("GET", kList, 200, R"({"nextPageToken":"same","files":[]})");
        server.answer("GET", kList, 200, c.page);
        server.answer("GET", kList + QStringLiteral("/A"), 200, "a");
        const auto [files, ok] = load();
        EXPECT_FALSE(ok);
        EXPECT_TRUE(files.isEmpty());
        EXPECT_FALSE(save("x"));
        EXPECT_TRUE(server.requests("POST", QStringLiteral("/upload/drive/v3/files")).isEmpty());
        EXPECT_TRUE(server.requests("GET", kList + QStringLiteral("/A")).isEmpty());
        EXPECT_EQ(drive->lastError(), QStringLiteral("置けませんでした（200）。"));
    }
}

namespace {

// Against the stateful fake Drive, with the clock moving in small steps so
// that the waits between tries can be read off the requests' times.
class StrictDriveTest : public SignedInFakeDrive
{
protected:
    StrictDriveTest() { stepMs = 50; }
    QList<FakeDrive::Seen> seen(const QByteArray &method, const QString &pathStart) const
    {
        QList<FakeDrive::Seen> out;
        for (const FakeDrive::Seen &s : server.seen())
            if (s.method == method && s.path.startsWith(pathStart))
                out.append(s);
        return out;
    }
};

} // namespace

TEST_F(StrictDriveTest, EveryPageIsReadAndTheExtraCopiesDeleted)
{
    const struct
    {
        const char *name;
        int copies;
        bool emptyFirstPage;
    } cases[] = {
        {"seven copies on pages of three", 7, false},
        {"an empty first page before the one copy", 1, true},
        {"an empty first page before four", 4, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.clear();
        QList<QByteArray> bodies;
        QString oldest;
        for (int i = 0; i < c.copies; ++i) {
            bodies << QByteArray("copy ") + QByteArray::number(i);
            const QString id = server.add(bodies.last());
            if (i == 0)
                oldest = id;
        }
        server.setEmptyFirstPage(c.emptyFirstPage);

        const auto [files, ok] = load();
        ASSERT_TRUE(ok);
        EXPECT_EQ(files, bodies);

        EXPECT_TRUE(save("merged"));
        ASSERT_EQ(server.files().size(), 1);
        EXPECT_EQ(server.files()[0].id, oldest);
        EXPECT_EQ(server.files()[0].bytes, QByteArray("merged"));
        EXPECT_TRUE(seen("POST", QStringLiteral("/upload")).isEmpty()) << "no new copy";
        EXPECT_EQ(seen("DELETE", QStringLiteral("/drive/v3/files/")).size(), c.copies - 1);
        EXPECT_TRUE(drive->lastError().isEmpty());
    }
}

TEST_F(StrictDriveTest, RateLimitsAreWaitedOutWithBackoff)
{
    driveConfig.jitter = [](qint64 bound) {
        EXPECT_EQ(bound, 1000);
        return qint64(250);
    };
    makeDrive();
    const struct
    {
        const char *name;
        FakeDrive::Limit kind;
        int limited;
        int retryAfterSeconds;
        QList<qint64> waits;
        bool ok;
    } cases[] = {
        {"429 twice", FakeDrive::Limit::TooManyRequests, 2, -1, {1250, 2250}, true},
        {"403 userRateLimitExceeded twice", FakeDrive::Limit::UserRateLimit, 2, -1, {1250, 2250}, true},
        {"Retry-After longer than the backoff", FakeDrive::Limit::TooManyRequests, 2, 5, {5000, 5000}, true},
        {"limited past every try", FakeDrive::Limit::TooManyRequests, 9, -1, {1250, 2250, 4250, 8250}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.clear();
        server.add("old");
        ASSERT_TRUE(load().second);
        server.limitNext(c.limited, c.kind, "PATCH", QStringLiteral("/upload/"), c.retryAfterSeconds);
        SyncReport::clearLastError();

        EXPECT_EQ(save("new"), c.ok);
        const QList<FakeDrive::Seen> uploads = seen("PATCH", QStringLiteral("/upload/"));
        ASSERT_EQ(uploads.size(), c.waits.size() + 1);
        QList<qint64> waits;
        for (qsizetype i = 1; i < uploads.size(); ++i)
            waits << uploads[i - 1].at.msecsTo(uploads[i].at);
        EXPECT_EQ(waits, c.waits);
        EXPECT_EQ(server.live(), QList<QByteArray>{c.ok ? "new" : "old"});
        EXPECT_EQ(drive->lastError(), c.ok ? QString() : QStringLiteral("置けませんでした（429）。"));
    }
}

TEST_F(StrictDriveTest, ATokenDriveRefusesIsRefreshedAndTheRequestRepeated)
{
    server.add("one");
    server.add("two");
    ASSERT_TRUE(load().second);
    // Google ends the access token before the expiry it stated.
    server.dropAccessTokens();

    const auto [files, ok] = load();
    EXPECT_TRUE(ok);
    EXPECT_EQ(files, (QList<QByteArray>{"one", "two"}));
    QList<int> statuses;
    for (const FakeDrive::Seen &s : server.seen())
        if (s.path != QStringLiteral("/token"))
            statuses << s.status;
    // First load: list and two downloads; second: list refused, then list
    // and downloads on the fresh token.
    EXPECT_EQ(statuses, (QList<int>{200, 200, 200, 401, 200, 200, 200}));
    EXPECT_EQ(seen("POST", QStringLiteral("/token")).size(), 2);
    EXPECT_TRUE(auth->isConnected());
    EXPECT_TRUE(drive->lastError().isEmpty());
}

TEST_F(StrictDriveTest, ARevokedRefreshTokenAsksToReconnect)
{
    server.add("one");
    ASSERT_TRUE(load().second);
    // The user removed the program's access in their Google account.
    server.revoke(QStringLiteral("rt"));

    EXPECT_FALSE(load().second);
    EXPECT_FALSE(auth->isConnected());
    EXPECT_FALSE(Keychain::get(QStringLiteral("googleRefreshToken")).has_value());
    EXPECT_EQ(auth->lastError(), QStringLiteral("繋ぎ直してください。"));
    EXPECT_EQ(drive->lastError(), QStringLiteral("合鍵が切れています。設定で Google を繋ぎ直してください。"));
    EXPECT_TRUE(seen("POST", QStringLiteral("/revoke")).isEmpty()) << "a dead token is not handed back";
    EXPECT_EQ(server.live(), QList<QByteArray>{"one"});
}

TEST_F(StrictDriveTest, SignOutHandsTheRefreshTokenBack)
{
    ASSERT_TRUE(load().second);
    std::optional<bool> revoked;
    auth->disconnect([&](bool ok) { revoked = ok; });
    EXPECT_FALSE(auth->isConnected());
    EXPECT_FALSE(Keychain::get(QStringLiteral("googleRefreshToken")).has_value());
    run([&] { return revoked.has_value(); });
    EXPECT_EQ(revoked, true);
    EXPECT_EQ(server.revoked(), QStringList{QStringLiteral("rt")});

    // Google no longer honours it, even if a copy of it turned up again.
    Keychain::set(QStringLiteral("rt"), QStringLiteral("googleRefreshToken"));
    auth = std::make_unique<GoogleAuth>(Preferences::standard(), authConfig);
    makeDrive();
    EXPECT_FALSE(load().second);
    EXPECT_FALSE(auth->isConnected());
}

TEST_F(DriveTest, RetryAfterIsReadAsSecondsOrAsADate)
{
    const QDateTime now = clock.now().toUTC();
    const auto httpDate = [&](int seconds) {
        return QLocale::c().toString(now.addSecs(seconds), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss")).toLatin1()
               + " GMT";
    };
    const struct
    {
        const char *name;
        QByteArray retryAfter;
        int retriesSoFar;
        std::optional<qint64> wait;
    } cases[] = {
        {"none, first repeat", {}, 0, 1000},
        {"none, fourth repeat", {}, 3, 8000},
        {"none, tries used up", {}, 4, std::nullopt},
        {"seconds", "5", 0, 5000},
        {"seconds shorter than the backoff", "1", 2, 4000},
        {"a date seven seconds on", httpDate(7), 0, 7000},
        {"a date gone by", httpDate(-30), 1, 2000},
        {"unreadable", "soon", 0, 1000},
        {"longer than a sync should wait", "3600", 0, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        HttpResult busy;
        busy.replied = true;
        busy.status = 429;
        if (!c.retryAfter.isEmpty())
            busy.headers.append(qMakePair(QByteArray("retry-after"), c.retryAfter));
        EXPECT_EQ(drive->retryWait(busy, c.retriesSoFar), c.wait);
    }
}
