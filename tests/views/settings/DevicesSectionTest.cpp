#include "views/settings/SettingsFixture.h"

#include "core/AppSettings.h"
#include "support/FakeDrive.h"
#include "support/FakeHttpServer.h"
#include "support/MemorySyncStore.h"
#include "sync/GoogleAuth.h"
#include "sync/Keychain.h"
#include "sync/SyncService.h"
#include "views/settings/SyncRows.h"

#include <QFile>
#include <QHostAddress>
#include <QTcpSocket>
#include <QUrlQuery>

namespace {

// The "across devices" rows over a fake Google on 127.0.0.1 (sign-in,
// revocation and Drive) and a sync store in memory.
struct DevicesSectionTest : SettingsFixture
{
    FakeDrive google;
    MemorySyncStore memory;
    QUrl signInPage; // where the program sent the browser

    void SetUp() override
    {
        SettingsFixture::SetUp();
        rig->authConfig.authorizationUrl = google.url(QStringLiteral("/o/oauth2/v2/auth"));
        rig->authConfig.tokenUrl = google.url(QStringLiteral("/token"));
        rig->authConfig.revokeUrl = google.url(QStringLiteral("/revoke"));
        rig->drive.host = google.url();
        rig->syncStore = [this] { return std::shared_ptr<SyncStore>(&memory, [](SyncStore *) {}); };
        rig->settings.setSyncPlace(SyncPlace::drive);
    }
    void TearDown() override
    {
        view.reset();
        rig.reset();
        SettingsFixture::TearDown();
    }
    static void storeClient()
    {
        Keychain::set(QStringLiteral("client-1"), QStringLiteral("googleClientID"));
        Keychain::set(QStringLiteral("secret-1"), QStringLiteral("googleClientSecret"));
    }
    void buildWithBrowser()
    {
        model = &rig->build();
        rig->googleAuth->setBrowserOpener([this](const QUrl &url) { signInPage = url; });
        settle();
        build();
    }
    void settle()
    {
        ASSERT_TRUE(spinUntil([this] { return !model->sync().isWorking() || memory.holding(); }));
    }
    // The browser comes back to the program's loopback address with a
    // grant (or with the user's refusal).
    void comeBack(std::unique_ptr<QTcpSocket> &socket, const QByteArray &answer = "code=granted")
    {
        const QUrlQuery query(signInPage);
        const QUrl redirect(query.queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
        socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, quint16(redirect.port()));
        socket->write("GET /?" + answer + "&state=" + query.queryItemValue(QStringLiteral("state")).toUtf8()
                      + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    }
};

} // namespace

TEST_F(DevicesSectionTest, TheSyncPlaceSwitchHidesOrShowsTheGoogleRows)
{
    storeClient();
    buildWithBrowser();
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.connect")));

    flip(QStringLiteral("settings.devices.syncPlace"));
    EXPECT_EQ(rig->settings.syncPlace(), SyncPlace::none);
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.connect")));
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.syncNow")));

    flip(QStringLiteral("settings.devices.syncPlace"));
    EXPECT_EQ(rig->settings.syncPlace(), SyncPlace::drive);
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.connect")));
}

TEST_F(DevicesSectionTest, WithoutAClientFileTheUserLoadsTheirOwn)
{
    buildWithBrowser();
    // A fresh install: the switch is on, but the rows say that nothing
    // syncs yet, why the connect button cannot be pressed, and which file
    // to load from where.
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.notYet")));
    EXPECT_FALSE(find<InkButton>(QStringLiteral("settings.devices.connect"))->isEnabled());
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.cannotConnect")));
    EXPECT_EQ(find<InkButton>(QStringLiteral("settings.devices.connect"))->toolTip(),
              text(QStringLiteral("settings.devices.cannotConnect")));
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.loadClient")));
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.clientFile")));
    for (const char *word : {"Google Cloud", "デスクトップ アプリ", "client_secret_"})
        EXPECT_TRUE(text(QStringLiteral("settings.devices.clientFile")).contains(QString::fromUtf8(word))) << word;

    // Cancelled: nothing, no word.
    desk.cancelNext();
    click(QStringLiteral("settings.devices.loadClient"));
    EXPECT_FALSE(model->notice());
    ASSERT_EQ(desk.asked().size(), 1);
    EXPECT_EQ(desk.asked().first().panel, FakeDesktop::Panel::open);
    EXPECT_EQ(desk.asked().first().question.nameFilters, QStringList{Desktop::jsonFiles()});
    EXPECT_EQ(desk.asked().first().question.confirm, QStringLiteral("読み込む"));

    // A file that is not a client file: the notice says so.
    const QString bad = rig->dirs.root() + QStringLiteral("/notes.json");
    QFile badFile(bad);
    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly));
    badFile.write("{\"hello\": 1}");
    badFile.close();
    desk.answer(bad);
    click(QStringLiteral("settings.devices.loadClient"));
    ASSERT_TRUE(model->notice());
    EXPECT_EQ(*model->notice(), model->googleAuth().lastError());
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.error")));

    // Google's own file: the client is known, the connect button can be pressed.
    const QString good = rig->dirs.root() + QStringLiteral("/client_secret_1.json");
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::WriteOnly));
    goodFile.write(R"({"installed":{"client_id":"mine.apps.example","client_secret":"s3"}})");
    goodFile.close();
    desk.answer(good);
    click(QStringLiteral("settings.devices.loadClient"));
    EXPECT_EQ(model->googleAuth().clientID(), QStringLiteral("mine.apps.example"));
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.loadClient")));
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.clientFile")));
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.error")));
    EXPECT_TRUE(find<InkButton>(QStringLiteral("settings.devices.connect"))->isEnabled());
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.cannotConnect")));
    EXPECT_TRUE(find<InkButton>(QStringLiteral("settings.devices.connect"))->toolTip().isEmpty());
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.notYet"))) << "still nothing connected";
}

TEST_F(DevicesSectionTest, ConnectThroughTheBrowserThenDisconnectRevokes)
{
    storeClient();
    buildWithBrowser();
    click(QStringLiteral("settings.devices.connect"));
    auto *connectButton = find<InkButton>(QStringLiteral("settings.devices.connect"));
    EXPECT_EQ(connectButton->text(), QStringLiteral("ブラウザで許可を待っています…"));
    EXPECT_FALSE(connectButton->isEnabled());
    ASSERT_TRUE(signInPage.isValid());

    std::unique_ptr<QTcpSocket> browser;
    comeBack(browser);
    ASSERT_TRUE(spinUntil([this] { return model->googleAuth().isConnected(); }));
    settle();
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.connect")));
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.syncNow")));
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.disconnect")));
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.notYet")));
    const std::optional<QString> refreshToken = Keychain::get(QStringLiteral("googleRefreshToken"));
    ASSERT_TRUE(refreshToken);

    click(QStringLiteral("settings.devices.disconnect"));
    EXPECT_FALSE(model->googleAuth().isConnected()) << "at once, without waiting for Google";
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.connect")));
    EXPECT_EQ(connectButton->text(), QStringLiteral("Google と繋ぐ"));
    ASSERT_TRUE(spinUntil([this] { return !google.revoked().isEmpty(); }));
    EXPECT_EQ(google.revoked(), QStringList{*refreshToken}) << "the token is handed back to Google";
    EXPECT_FALSE(Keychain::get(QStringLiteral("googleRefreshToken")));
}

TEST_F(DevicesSectionTest, AFailedSignInShowsItsError)
{
    storeClient();
    buildWithBrowser();
    click(QStringLiteral("settings.devices.connect"));
    std::unique_ptr<QTcpSocket> browser;
    comeBack(browser, "error=access_denied");
    ASSERT_TRUE(spinUntil([this] { return !model->googleAuth().isConnecting(); }));
    EXPECT_FALSE(model->googleAuth().isConnected());
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.error")));
    EXPECT_EQ(text(QStringLiteral("settings.devices.error")), model->googleAuth().lastError());
    EXPECT_FALSE(model->googleAuth().lastError().isEmpty());
}

TEST_F(DevicesSectionTest, SyncNowShowsItsResultAndTheLastSync)
{
    ModelRigs::Rig::connectGoogle();
    buildWithBrowser();
    EXPECT_TRUE(text(QStringLiteral("settings.devices.stateNote")).startsWith(QStringLiteral("最後に合わせたのは ")))
        << "the launch sync";
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.result")));

    memory.deferred = true;
    click(QStringLiteral("settings.devices.syncNow"));
    ASSERT_TRUE(spinUntil([this] { return memory.holding(); }));
    auto *syncButton = find<InkButton>(QStringLiteral("settings.devices.syncNow"));
    EXPECT_FALSE(syncButton->isEnabled());
    EXPECT_EQ(text(QStringLiteral("settings.devices.stateNote")), QStringLiteral("合わせています…"));
    click(QStringLiteral("settings.devices.syncNow")); // disabled: nothing starts
    memory.deferred = false;
    while (memory.holding()) {
        memory.releaseLoad();
        memory.releaseSave();
        spinUntil([this] { return memory.holding() || !model->sync().isWorking(); });
    }
    settle();
    EXPECT_EQ(memory.loadCount, 2) << "the launch sync and one by hand";
    EXPECT_TRUE(syncButton->isEnabled());
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.result")));
    EXPECT_EQ(text(QStringLiteral("settings.devices.result")), model->sync().resultMessage());

    // The result stays, whatever the place; the Google rows go.
    flip(QStringLiteral("settings.devices.syncPlace"));
    EXPECT_TRUE(shows(QStringLiteral("settings.devices.result")));
    EXPECT_FALSE(shows(QStringLiteral("settings.devices.syncNow")));
}

TEST(SyncRows, TheStateNoteTellsTheLastSyncInTheInterfaceLanguage)
{
    const QDateTime at(QDate(2025, 3, 5), QTime(21, 7));
    const QDateTime earlier(QDate(2025, 3, 1), QTime(8, 0));
    struct Case
    {
        bool japanese;
        SyncService::State state;
        std::optional<QDateTime> lastSynced;
        QString note;
    };
    const Case cases[] = {
        {true, {SyncService::StateKind::working, {}, {}}, earlier, QStringLiteral("合わせています…")},
        {true, SyncService::State::done(at), std::nullopt, QStringLiteral("最後に合わせたのは 3月5日 21:07")},
        {false, SyncService::State::done(at), earlier, QStringLiteral("Last synced Mar 5, 9:07 PM")},
        {false, SyncService::State::failed(QStringLiteral("x")), earlier, QStringLiteral("Last synced Mar 1, 8:00 AM")},
        {true, {}, earlier, QStringLiteral("最後に合わせたのは 3月1日 8:00")},
        {false, {}, std::nullopt, QStringLiteral("Not synced yet.")},
    };
    for (const Case &c : cases) {
        Lang::setForTesting(c.japanese);
        EXPECT_EQ(SyncRows::stateNoteFor(c.state, c.lastSynced), c.note);
    }
    Lang::setForTesting(std::nullopt);
}
