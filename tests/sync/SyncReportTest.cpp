#include "sync/SyncReport.h"

#include "core/L.h"
#include "platform/files/AppPaths.h"
#include "platform/fakes/FakeClock.h"
#include "platform/files/DataFile.h"
#include "support/ScopedDirs.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class SyncReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Lang::setForTesting(true);
        Clock::setCurrent(&clock);
        SyncReport::clearLastError();
        AppPaths::ensureDir(dirs.dataDir());
    }
    void TearDown() override
    {
        Clock::setCurrent(nullptr);
        Lang::setForTesting(std::nullopt);
    }
    QString log() const { return QString::fromUtf8(DataFile::read(SyncReport::logPath()).bytes); }

    ScopedDirs dirs;
    FakeClock clock{QDateTime(QDate(2025, 12, 8), QTime(9, 5, 7))};
};

} // namespace

TEST_F(SyncReportTest, ExplainsHttpReplies)
{
    const QString notEnabled = QStringLiteral(
        "Google Cloud のプロジェクトで Drive API が有効になっていません。コンソールで有効にしてから、もう一度お試しください。");
    const struct
    {
        int status;
        const char *body;
        QString expected;
    } cases[] = {
        {500, "{\"reason\":\"accessNotConfigured\"}", notEnabled},
        {403, "Google Drive API has not been used in project 1", notEnabled},
        {0, "", QStringLiteral("ネットに繋がりませんでした。")},
        {401, "", QStringLiteral("合鍵が切れています。設定で Google を繋ぎ直してください。")},
        {403, "insufficientPermissions", QStringLiteral("控えを置く許しがありません。設定で Google を繋ぎ直してください。")},
        {403, "rateLimitExceeded", QStringLiteral("置けませんでした（403）。")},
        {503, "", QStringLiteral("置けませんでした（503）。")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SyncReport::explain(c.status, QString::fromUtf8(c.body)), c.expected) << c.status << c.body;
}

TEST_F(SyncReportTest, ExplainsTransportFailures)
{
    const struct
    {
        NetFailure failure;
        QString expected;
    } cases[] = {
        {NetFailure::NetworkConnectionLost, QStringLiteral("ネットに繋がりませんでした。")},
        {NetFailure::CannotConnectToHost, QStringLiteral("ネットに繋がりませんでした。")},
        {NetFailure::TimedOut, QStringLiteral("Google からの返事が、時間内に返ってきませんでした。")},
        {NetFailure::SecureConnectionFailed, QStringLiteral("安全な繋がりを作れませんでした。")},
        {NetFailure::BadServerResponse, QStringLiteral("通信でつまずきました（-1011）。")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SyncReport::explain(c.failure), c.expected) << int(c.failure);
    EXPECT_EQ(SyncReport::detail(NetFailure::BadServerResponse, QStringLiteral("bad reply")),
              QStringLiteral("URLError -1011：bad reply"));
}

TEST_F(SyncReportTest, RecordAppendsEntriesAndKeepsWhatWasThere)
{
    ASSERT_TRUE(DataFile::writeAtomically(SyncReport::logPath(), "earlier\n"));
    SyncReport::record(QStringLiteral("置けませんでした（503）。"), QStringLiteral("作成 503: busy"));
    clock.advance(1000);
    SyncReport::record(QStringLiteral("ネットに繋がりませんでした。"));

    EXPECT_EQ(SyncReport::lastError(), QStringLiteral("ネットに繋がりませんでした。"));
    EXPECT_EQ(log(), QStringLiteral("earlier\n"
                                    "12月8日 9:05:07　置けませんでした（503）。\n"
                                    "　作成 503: busy\n"
                                    "12月8日 9:05:08　ネットに繋がりませんでした。\n"));
}

TEST_F(SyncReportTest, DetailIsCutTo400CharactersAndTheLogStaysJapaneseStamped)
{
    Lang::setForTesting(false);
    QString detail;
    for (int i = 0; i < 1000; ++i)
        detail += (i % 2) ? QStringLiteral("あ") : QStringLiteral("e\u0301"); // one character, two code units
    SyncReport::record(QStringLiteral("message"), detail);

    const QString text = log();
    ASSERT_TRUE(text.startsWith(QStringLiteral("12月8日 9:05:07　message\n　")));
    const QString written = text.mid(text.indexOf(QStringLiteral("\n　")) + 2);
    EXPECT_EQ(written, detail.left(600) + QStringLiteral("\n"));
}

TEST_F(SyncReportTest, NoTokenEverReachesTheLog)
{
    SyncReport::record(QStringLiteral("m"),
                       QStringLiteral("Authorization: Bearer ya29.secret {\"refresh_token\":\"1//secret\"}"));
    EXPECT_FALSE(log().contains(QStringLiteral("secret")));
    EXPECT_TRUE(log().contains(QStringLiteral("Bearer …")));
}

TEST_F(SyncReportTest, WithoutTheDataFolderTheEntryIsLostButLastErrorIsSet)
{
    QDir(dirs.dataDir()).removeRecursively();
    SyncReport::record(QStringLiteral("lost"), QStringLiteral("detail"));
    EXPECT_EQ(SyncReport::lastError(), QStringLiteral("lost"));
    EXPECT_FALSE(QDir(dirs.dataDir()).exists());
}
