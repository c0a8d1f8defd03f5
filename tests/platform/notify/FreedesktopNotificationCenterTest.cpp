#include "platform/fakes/FakeClock.h"
#include "platform/notify/FreedesktopNotificationCenter.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A stand-in notification server on the test's own bus: records the calls it
// gets and sends the signals a real server sends.
class StandInServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notice
    {
        QString appName;
        uint replacesId;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        uint id;
    };

    StandInServer(QDBusConnection bus, QStringList capabilities)
        : m_bus(bus)
        , m_capabilities(std::move(capabilities))
    {
    }

    QList<Notice> notices;
    QList<uint> closed;

    void invokeAction(uint id, const QString &key) { emitSignal(QStringLiteral("ActionInvoked"), {id, key}); }
    void closedByUser(uint id) { emitSignal(QStringLiteral("NotificationClosed"), {id, 2u}); }

public slots:
    QStringList GetCapabilities() { return m_capabilities; }
    uint Notify(const QString &appName, uint replacesId, const QString &, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int)
    {
        const uint id = replacesId ? replacesId : m_nextId++;
        notices.append({appName, replacesId, summary, body, actions, hints, id});
        return id;
    }
    void CloseNotification(uint id) { closed.append(id); }

private:
    void emitSignal(const QString &name, const QVariantList &args)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                         QStringLiteral("org.freedesktop.Notifications"), name);
        signal.setArguments(args);
        m_bus.send(signal);
    }

    QDBusConnection m_bus;
    QStringList m_capabilities;
    uint m_nextId = 1;
};

NotificationRequest request(const QString &identifier, const QString &body,
                            NotificationRequest::Sound sound = NotificationRequest::Sound::Default,
                            const QVariantMap &userInfo = {},
                            const NotificationTrigger &trigger = NotificationTrigger::immediate())
{
    NotificationRequest r;
    r.identifier = identifier;
    r.title = QStringLiteral("Title <b>");
    r.body = body;
    r.sound = sound;
    r.userInfo = userInfo;
    r.trigger = trigger;
    return r;
}

int g_connection = 0;

struct BusTest : ::testing::Test
{
    PrivateBus bus;
    std::unique_ptr<StandInServer> server;
    std::unique_ptr<FreedesktopNotificationCenter> center;

    void SetUp() override
    {
        if (!bus.isUp())
            GTEST_SKIP() << "dbus-daemon is not available";
    }

    void startServer(const QStringList &capabilities)
    {
        serverName = QStringLiteral("server-%1").arg(++g_connection);
        QDBusConnection serverBus = bus.connect(serverName);
        server = std::make_unique<StandInServer>(serverBus, capabilities);
        ASSERT_TRUE(serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), server.get(),
                                             QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(serverBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    }

    void stopServer()
    {
        server.reset();
        QDBusConnection::disconnectFromBus(serverName);
    }

    void startCenter()
    {
        centerBus = bus.connect(QStringLiteral("center-%1").arg(++g_connection));
        center = std::make_unique<FreedesktopNotificationCenter>(centerBus);
    }

    // Waits until the server has seen `count` notices and the center has read
    // the server's answers to them: a round trip to the bus from the server's
    // connection, then one from the center's, pass every answer sent before
    // them to the center, and the event loop then hands those to it.
    bool waitForNotices(int count)
    {
        if (!QTest::qWaitFor([&] { return server->notices.size() >= count; }))
            return false;
        const QDBusMessage getId = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"));
        QDBusConnection(serverName).call(getId);
        centerBus.call(getId);
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        return true;
    }

    QString serverName;
    QDBusConnection centerBus{QString()};
};

} // namespace

TEST(FreedesktopNotificationCenter, EscapesMarkupInBodies)
{
    struct Case
    {
        QString in;
        QString out;
    };
    const Case cases[] = {
        {QStringLiteral("Plan & <b>review</b>"), QStringLiteral("Plan &amp; &lt;b&gt;review&lt;/b&gt;")},
        {QStringLiteral("&amp; stays visible"), QStringLiteral("&amp;amp; stays visible")},
        {QStringLiteral("改行\nと\tタブ"), QStringLiteral("改行\nと\tタブ")},
        {QStringLiteral("bell\x07 and nul") + QChar(0) + QStringLiteral("!"), QStringLiteral("bell and nul!")},
        {QString(), QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FreedesktopNotificationCenter::escapeMarkup(c.in), c.out) << c.in.toStdString();
}

TEST(FreedesktopNotificationCenter, WithoutASessionBusEveryOperationDoesNothing)
{
    // The test programs run with the session bus address pointing at nothing.
    FreedesktopNotificationCenter center;
    EXPECT_FALSE(center.isAvailable());
    center.add(request(QStringLiteral("kiv.phase.end"), QStringLiteral("b"), NotificationRequest::Sound::Default, {},
                       NotificationTrigger::interval(60)));
    center.add(request(QStringLiteral("now"), QStringLiteral("b")));
    EXPECT_TRUE(center.pendingRequests().isEmpty());
    center.removePendingRequests(QStringList{QStringLiteral("kiv.phase.end")});
    center.removeDeliveredNotifications(QStringList{QStringLiteral("now")});

    int answers = 0;
    bool granted = true;
    center.requestAuthorization([&](bool g) {
        ++answers;
        granted = g;
    });
    EXPECT_EQ(answers, 0) << "the answer never comes inside the call";
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers == 1; }));
    EXPECT_FALSE(granted);
    EXPECT_EQ(center.authorization(), NotificationCenter::Authorization::Denied);
}

TEST_F(BusTest, ABusWithoutANotificationServiceMakesTheCenterUnavailable)
{
    startCenter();
    bool answered = false, granted = true;
    center->requestAuthorization([&](bool g) {
        answered = true;
        granted = g;
    });
    center->add(request(QStringLiteral("later"), QStringLiteral("b"), NotificationRequest::Sound::Default, {},
                        NotificationTrigger::interval(600)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }));
    EXPECT_FALSE(granted);
    EXPECT_FALSE(center->isAvailable());
    EXPECT_TRUE(center->pendingRequests().isEmpty());
}

TEST_F(BusTest, ShowsNoticesWithTheirTextSoundAndDefaultAction)
{
    struct Case
    {
        QStringList capabilities;
        QString sentBody;
    };
    const Case cases[] = {
        {{QStringLiteral("body"), QStringLiteral("body-markup"), QStringLiteral("actions")},
         QStringLiteral("a &lt;i&gt; &amp; b")},
        {{QStringLiteral("body"), QStringLiteral("actions")}, QStringLiteral("a <i> & b")},
    };
    for (const Case &c : cases) {
        startServer(c.capabilities);
        startCenter();
        bool granted = false;
        center->requestAuthorization([&](bool g) { granted = g; });
        center->add(request(QStringLiteral("sounding"), QStringLiteral("a <i> & b")));
        center->add(request(QStringLiteral("silent"), QStringLiteral("quiet"), NotificationRequest::Sound::None));
        ASSERT_TRUE(waitForNotices(2));
        EXPECT_TRUE(QTest::qWaitFor([&] { return granted; }));
        EXPECT_EQ(center->authorization(), NotificationCenter::Authorization::Authorized);

        const StandInServer::Notice &sounding = server->notices[0];
        EXPECT_EQ(sounding.appName, QStringLiteral("Quillmere"));
        EXPECT_EQ(sounding.replacesId, 0u);
        EXPECT_EQ(sounding.summary, QStringLiteral("Title <b>")) << "the summary is plain text";
        EXPECT_EQ(sounding.body, c.sentBody);
        EXPECT_TRUE(sounding.actions.contains(QStringLiteral("default")));
        EXPECT_EQ(sounding.hints.value(QStringLiteral("sound-name")).toString(), QStringLiteral("message-new-instant"));
        EXPECT_FALSE(sounding.hints.contains(QStringLiteral("suppress-sound")));

        const StandInServer::Notice &silent = server->notices[1];
        EXPECT_TRUE(silent.hints.value(QStringLiteral("suppress-sound")).toBool());
        EXPECT_FALSE(silent.hints.contains(QStringLiteral("sound-name")));
        center.reset();
        stopServer();
    }
}

TEST_F(BusTest, PendingRequestsGoToTheServerWhenDue)
{
    FakeClock clock;
    Clock::setCurrent(&clock);
    startServer({QStringLiteral("body")});
    startCenter();
    center->add(request(QStringLiteral("kiv.phase.end"), QStringLiteral("old"), NotificationRequest::Sound::Default,
                        {}, NotificationTrigger::interval(60)));
    center->add(request(QStringLiteral("kiv.phase.end"), QStringLiteral("new"), NotificationRequest::Sound::Default,
                        {}, NotificationTrigger::interval(90)));
    clock.advance(89'000);
    EXPECT_EQ(center->pendingRequests().size(), 1);
    clock.advance(1'000);
    EXPECT_TRUE(center->pendingRequests().isEmpty());
    ASSERT_TRUE(waitForNotices(1));
    EXPECT_EQ(server->notices[0].body, QStringLiteral("new"));
    Clock::setCurrent(nullptr);
    center.reset();
    EXPECT_EQ(server->notices.size(), 1);
}

TEST_F(BusTest, ReplacesAndWithdrawsShownNoticesByIdentifier)
{
    startServer({QStringLiteral("body")});
    startCenter();
    center->add(request(QStringLiteral("kiv.phase.end"), QStringLiteral("first")));
    ASSERT_TRUE(waitForNotices(1));
    const uint first = server->notices[0].id;

    center->add(request(QStringLiteral("kiv.phase.end"), QStringLiteral("second")));
    ASSERT_TRUE(waitForNotices(2));
    EXPECT_EQ(server->notices[1].replacesId, first);

    // Withdrawn before the server has answered: the notice is closed as soon
    // as its id is known.
    center->add(request(QStringLiteral("other"), QStringLiteral("x")));
    center->removeDeliveredNotifications(QStringList{QStringLiteral("other")});
    ASSERT_TRUE(waitForNotices(3));
    const uint other = server->notices[2].id;
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->closed.contains(other); }));

    center->removeDeliveredNotifications(QStringList{QStringLiteral("kiv.phase.end")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->closed.contains(first); }));

    // A withdrawn identifier starts afresh.
    center->add(request(QStringLiteral("kiv.phase.end"), QStringLiteral("third")));
    ASSERT_TRUE(waitForNotices(4));
    EXPECT_EQ(server->notices[3].replacesId, 0u);
}

TEST_F(BusTest, TapsComeBackWithTheIdentifierAndUserInfo)
{
    startServer({QStringLiteral("body"), QStringLiteral("actions")});
    startCenter();
    const QVariantMap plan{{QStringLiteral("planID"), QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF")},
                           {QStringLiteral("day"), QStringLiteral("2025-03-04")}};
    center->add(request(QStringLiteral("kiv.plan.6F9619FF-8B86-D011-B42D-00C04FC964FF"), QStringLiteral("plan"),
                        NotificationRequest::Sound::None, plan));
    center->add(request(QStringLiteral("kiv.phase.end"), QStringLiteral("end")));
    ASSERT_TRUE(waitForNotices(2));
    const uint planId = server->notices[0].id;
    const uint phaseId = server->notices[1].id;

    QSignalSpy taps(center.get(), &NotificationCenter::tapped);
    server->invokeAction(planId, QStringLiteral("other-action"));
    server->invokeAction(4242, QStringLiteral("default")); // not ours
    server->invokeAction(planId, QStringLiteral("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return taps.size() >= 1; }));
    server->invokeAction(phaseId, QStringLiteral("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return taps.size() >= 2; }));
    EXPECT_EQ(taps[0][0].toString(), QStringLiteral("kiv.plan.6F9619FF-8B86-D011-B42D-00C04FC964FF"));
    EXPECT_EQ(taps[0][1].toMap(), plan);
    EXPECT_EQ(taps[1][0].toString(), QStringLiteral("kiv.phase.end"));
    EXPECT_TRUE(taps[1][1].toMap().isEmpty());

    // Once the server has closed a notice its id means nothing any more.
    server->closedByUser(planId);
    server->invokeAction(planId, QStringLiteral("default"));
    server->invokeAction(phaseId, QStringLiteral("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return taps.size() >= 3; }));
    EXPECT_EQ(taps.size(), 3);
    EXPECT_EQ(taps[2][0].toString(), QStringLiteral("kiv.phase.end"));
}

#include "FreedesktopNotificationCenterTest.moc"
