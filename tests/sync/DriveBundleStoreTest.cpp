#include "SyncFixtures.h"
#include "support/SignedInDrive.h"
#include "core/AppSettings.h"
#include "core/L.h"
#include "platform/files/AppPaths.h"
#include "platform/time/Clock.h"
#include "platform/net/Http.h"
#include "platform/files/Preferences.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "support/FakeHttpServer.h"
#include "support/ScopedDirs.h"
#include "sync/DriveBundleStore.h"
#include "sync/DriveSyncStore.h"
#include "sync/GoogleAuth.h"
#include "sync/Keychain.h"
#include "sync/SyncReport.h"
#include "sync/SyncService.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace SyncFixtures;

namespace {

const QString kList = QStringLiteral("/drive/v3/files");

QByteArray bundleFrom(const QString &device, const QList<SessionRecord> &records)
{
    SyncBundle b;
    b.device = device;
    b.savedAt = at(0);
    b.records = records;
    return *b.encode();
}

} // namespace

// A whole sync through the Drive store against a local server.
class DriveBundleStoreTest : public SignedInDrive
{
protected:
    Preferences prefs{QStringLiteral("drive-bundle-test")};
};

TEST_F(DriveBundleStoreTest, AnUnreadableCopyIsNeitherOverwrittenNorDeleted)
{
    AppSettings settings(prefs);
    SessionStore sessions(dirs.dataDir());
    LocalTaskStore tasks(dirs.dataDir());
    SyncService service(sessions, tasks, settings);

    QJsonArray files;
    for (const char *id : {"A", "B", "C"})
        files.append(QJsonObject{{"id", id}, {"createdTime", "2025-01-01T00:00:00Z"}});
    server.answer("GET", kList, 200, QJsonDocument(QJsonObject{{"files", files}}).toJson());
    server.answer("GET", kList + QStringLiteral("/A"), 200, "{\"device\":\"Gamma\"}");
    server.answer("GET", kList + QStringLiteral("/B"), 200, bundleFrom(QStringLiteral("Beta"), {record(1, 0)}));
    server.answer("GET", kList + QStringLiteral("/C"), 200, bundleFrom(QStringLiteral("Alpha"), {record(2, 5)}));
    server.answer("PATCH", QStringLiteral("/upload/drive/v3/files/B"), 200, "{}");
    server.answer("DELETE", kList + QStringLiteral("/C"), 204, "");

    std::optional<bool> result;
    service.sync(std::make_shared<DriveBundleStore>(*drive), [&](bool ok) { result = ok; });
    run([&] { return result.has_value(); });

    EXPECT_EQ(result, true) << service.resultMessage().toStdString();
    EXPECT_EQ(sessions.allRecords().size(), 2);
    EXPECT_EQ(service.lastPeers(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    // The oldest merged copy is rewritten, the other merged one deleted, the
    // unreadable one left alone.
    ASSERT_EQ(server.requests("PATCH", QStringLiteral("/upload/drive/v3/files/B")).size(), 1);
    EXPECT_EQ(SyncBundle::decode(server.requests("PATCH", QStringLiteral("/upload/drive/v3/files/B"))[0].body).records,
              sessions.allRecords());
    EXPECT_EQ(server.requests("DELETE", kList + QStringLiteral("/C")).size(), 1);
    for (const FakeHttpServer::Request &r : server.requests())
        EXPECT_FALSE(r.path.endsWith(QStringLiteral("/A")) && r.method != "GET") << r.target.toStdString();
}

TEST_F(DriveBundleStoreTest, AFailedListingFailsTheSyncWithTheStoresText)
{
    AppSettings settings(prefs);
    SessionStore sessions(dirs.dataDir());
    LocalTaskStore tasks(dirs.dataDir());
    SyncService service(sessions, tasks, settings);
    server.answer("GET", kList, 401, "{}");

    std::optional<bool> result;
    service.sync(std::make_shared<DriveBundleStore>(*drive), [&](bool ok) { result = ok; });
    run([&] { return result.has_value(); });

    EXPECT_EQ(result, false);
    EXPECT_EQ(service.resultMessage(), QStringLiteral("合鍵が切れています。設定で Google を繋ぎ直してください。"));
    EXPECT_TRUE(server.requests("PATCH", QStringLiteral("/upload/drive/v3/files")).isEmpty());
    EXPECT_TRUE(server.requests("POST", QStringLiteral("/upload/drive/v3/files")).isEmpty());
}

// Whole syncs against the stateful fake Drive, which pages its list three
// files at a time.
class DriveBundleOnFakeDrive : public SignedInFakeDrive
{
protected:
    Preferences prefs{QStringLiteral("drive-bundle-fake-test")};
    AppSettings settings{prefs};
    SessionStore sessions{dirs.dataDir()};
    LocalTaskStore tasks{dirs.dataDir()};
    SyncService service{sessions, tasks, settings};

    bool sync()
    {
        std::optional<bool> result;
        service.sync(std::make_shared<DriveBundleStore>(*drive), [&](bool ok) { result = ok; });
        run([&] { return result.has_value(); });
        return result.value_or(false);
    }
};

TEST_F(DriveBundleOnFakeDrive, TwelveCopiesAreAllMergedIntoOne)
{
    QStringList devices;
    for (uint i = 1; i <= 12; ++i) {
        devices << QStringLiteral("Device %1").arg(i, 2, 10, QLatin1Char('0'));
        server.add(bundleFrom(devices.last(), {record(i, int(i) * 30)}));
    }

    EXPECT_TRUE(sync()) << service.resultMessage().toStdString();
    EXPECT_EQ(sessions.allRecords().size(), 12);
    EXPECT_EQ(service.lastPeers(), devices);
    ASSERT_EQ(server.files().size(), 1);
    EXPECT_EQ(SyncBundle::decode(server.files()[0].bytes).records, sessions.allRecords());

    // The next sync reads the one copy left.
    server.clear();
    server.add(bundleFrom(QStringLiteral("Device 13"), {record(13, 600)}));
    EXPECT_TRUE(sync());
    EXPECT_EQ(sessions.allRecords().size(), 13);
}

TEST_F(DriveBundleOnFakeDrive, AnIncompleteSearchMergesAndCreatesNothing)
{
    sessions.append(record(1, 0));
    for (uint i = 2; i <= 5; ++i)
        server.add(bundleFrom(QStringLiteral("Other"), {record(i, int(i) * 30)}));
    const QList<QByteArray> before = server.live();
    server.setIncompleteSearch(true);

    EXPECT_FALSE(sync());
    EXPECT_EQ(sessions.allRecords(), QList<SessionRecord>{record(1, 0)});
    EXPECT_EQ(server.live(), before);
    for (const FakeDrive::Seen &s : server.seen())
        EXPECT_TRUE(s.method == "GET" || s.path == QStringLiteral("/token")) << s.method.constData();
}
