// The notices and their taps over a real session bus: the test starts its own
// dbus-daemon (never the user's bus) and registers a stand-in notification
// server on it, which records the Notify calls it receives and sends taps back.
#include "core/KivJSON.h"
#include "platform/fakes/FakeClock.h"
#include "platform/notify/FreedesktopNotificationCenter.h"
#include "sources/NoticeRoute.h"
#include "sources/Notifier.h"
#include "sources/PlanNotice.h"
#include "support/LanguageFixtures.h"
#include "support/PrivateBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDeadlineTimer>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

namespace {

// What a Notify call carried.
struct NotifyCall
{
    QString appName;
    uint replacesId = 0;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
};

} // namespace

// A stand-in for the desktop's notification server.
class StandInNotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<NotifyCall> calls;
    QList<uint> closed;

public slots:
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("body-markup")}; }
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout)
    {
        Q_UNUSED(appIcon);
        Q_UNUSED(expireTimeout);
        calls.append(NotifyCall{appName, replacesId, summary, body, actions, hints});
        return replacesId ? replacesId : uint(calls.size()) + 100;
    }
    void CloseNotification(uint id) { closed.append(id); }
    QString GetServerInformation(QString &vendor, QString &version, QString &specVersion)
    {
        vendor = QStringLiteral("test");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("stand-in");
    }

signals:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);
};

namespace {

bool waitFor(const std::function<bool()> &done)
{
    QDeadlineTimer deadline(10'000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A private session bus for the life of the fixture. It starts no services on
// demand, whatever the machine has installed, so only the stand-in servers
// answer.
struct NotificationBus : InJapanese
{
    std::unique_ptr<PrivateBus> bus;
    QString address;
    FakeClock clock{QDateTime(QDate(2025, 3, 4), QTime(9, 50))};

    void SetUp() override
    {
        InJapanese::SetUp();
        bus = std::make_unique<PrivateBus>();
        if (!bus->isUp())
            GTEST_SKIP() << "dbus-daemon is not available";
        address = bus->address();
        Clock::setCurrent(&clock);
    }

    void TearDown() override
    {
        Clock::setCurrent(nullptr);
        QDBusConnection::disconnectFromBus(QStringLiteral("quillmere-test-server"));
        QDBusConnection::disconnectFromBus(QStringLiteral("quillmere-test-client"));
        bus.reset();
        InJapanese::TearDown();
    }
};

} // namespace

TEST_F(NotificationBus, NoticesReachTheServerAndTapsComeBackEvenBeforeAHandler)
{
    QDBusConnection serverBus = QDBusConnection::connectToBus(address, QStringLiteral("quillmere-test-server"));
    ASSERT_TRUE(serverBus.isConnected()) << serverBus.lastError().message().toStdString();
    StandInNotificationServer server;
    ASSERT_TRUE(serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                         QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    ASSERT_TRUE(serverBus.registerService(QStringLiteral("org.freedesktop.Notifications")));

    QDBusConnection clientBus = QDBusConnection::connectToBus(address, QStringLiteral("quillmere-test-client"));
    ASSERT_TRUE(clientBus.isConnected());
    FreedesktopNotificationCenter center(clientBus);
    Notifier notifier(&center);
    NoticeRoute route;
    route.listen(&center);

    notifier.requestAuthorizationIfNeeded();
    ASSERT_TRUE(waitFor([&] { return notifier.authorized(); }));

    DayPlan plan;
    plan.title = QStringLiteral("<b>見積書</b> & 請求書");
    plan.startMinutes = 600;
    plan.minutes = 30;
    const QDateTime now = clock.now();
    notifier.schedulePlanNotices(PlanNotice::upcoming({plan}, now, now, false),
                                 PlanNotice::arrivals({plan}, now, now, false), now, now);
    EXPECT_TRUE(server.calls.isEmpty()) << "nothing is shown before its time";

    // 09:55: the silent advance notice, its body escaped for the server's markup.
    clock.advance(5 * 60 * 1000);
    ASSERT_TRUE(waitFor([&] { return server.calls.size() == 1; }));
    const NotifyCall advance = server.calls[0];
    EXPECT_EQ(advance.appName, QStringLiteral("Quillmere"));
    EXPECT_EQ(advance.summary, QStringLiteral("まもなく 10:00"));
    EXPECT_EQ(advance.body, QStringLiteral("&lt;b&gt;見積書&lt;/b&gt; &amp; 請求書"));
    EXPECT_TRUE(advance.actions.contains(QStringLiteral("default")));
    EXPECT_EQ(advance.hints.value(QStringLiteral("suppress-sound")), QVariant(true));

    // A tap before the application has set its handler is kept, then
    // delivered once when the handler comes.
    emit server.ActionInvoked(101, QStringLiteral("default"));
    ASSERT_TRUE(waitFor([&] { return route.pending().has_value(); }));
    QList<NoticeRoute::Tap> taps;
    route.setOnPlan([&](const QUuid &id, const QString &day) { taps.append({id, day}); });
    ASSERT_EQ(taps.size(), 1);
    EXPECT_EQ(taps[0], (NoticeRoute::Tap{plan.id, QStringLiteral("2025-03-04")}));
    EXPECT_FALSE(route.pending());

    // 10:00: the arrival notice, with sound; a tap on it goes straight through.
    clock.advance(5 * 60 * 1000);
    ASSERT_TRUE(waitFor([&] { return server.calls.size() == 2; }));
    EXPECT_EQ(server.calls[1].summary, QStringLiteral("10:00　始める時刻です"));
    EXPECT_TRUE(server.calls[1].hints.contains(QStringLiteral("sound-name")));
    emit server.ActionInvoked(102, QStringLiteral("default"));
    ASSERT_TRUE(waitFor([&] { return taps.size() == 2; }));

    // A notice shown at once carries no plan: its tap changes nothing.
    notifier.post(QStringLiteral("一坐 終わり"), QStringLiteral("a < b"));
    ASSERT_TRUE(waitFor([&] { return server.calls.size() == 3; }));
    EXPECT_EQ(server.calls[2].body, QStringLiteral("a &lt; b"));
    emit server.ActionInvoked(103, QStringLiteral("default"));
    // A later plan tap arriving after it proves the earlier one was handled and ignored.
    emit server.ActionInvoked(101, QStringLiteral("default"));
    ASSERT_TRUE(waitFor([&] { return taps.size() == 3; }));
    EXPECT_EQ(taps[2].planID, plan.id);
}

// The notification server goes away (it crashed, or the session's server is
// being restarted or replaced) and another one takes its place: a notice that
// fell due meanwhile, and one posted meanwhile, are shown once each, by the
// server that follows. A notice sent as the first server went may reach the
// next one through the bus (it takes the name over, or the bus starts one on
// demand): it was shown then, and is not shown again.
TEST_F(NotificationBus, NoticesDueWhileTheServerIsAwayAreShownOnceItReturns)
{
    QDBusConnection clientBus = QDBusConnection::connectToBus(address, QStringLiteral("quillmere-test-client"));
    ASSERT_TRUE(clientBus.isConnected());
    enum class Next { Later, Waiting };
    struct Case
    {
        const char *name;
        bool waitForTheBusToTell; // else the notices are sent before the client hears the server left
        Next next;                // the next server comes later, or waits in the queue for the name
    };
    const Case cases[] = {
        {"the bus told first", true, Next::Later},
        {"sent as the server went", false, Next::Later},
        {"the next server took the name over", false, Next::Waiting},
    };
    int round = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString firstName = QStringLiteral("quillmere-test-server-%1").arg(++round);
        const QString secondName = QStringLiteral("quillmere-test-server-%1").arg(++round);
        const QString service = QStringLiteral("org.freedesktop.Notifications");
        auto serve = [&](const QString &name, StandInNotificationServer &server, bool queue) {
            QDBusConnection bus = QDBusConnection::connectToBus(address, name);
            ASSERT_TRUE(bus.isConnected());
            ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                           QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
            const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
                service, queue ? QDBusConnectionInterface::QueueService : QDBusConnectionInterface::DontQueueService);
            ASSERT_TRUE(reply.isValid()) << reply.error().message().toStdString();
            ASSERT_EQ(reply.value(), queue ? QDBusConnectionInterface::ServiceQueued
                                           : QDBusConnectionInterface::ServiceRegistered);
        };
        StandInNotificationServer first;
        serve(firstName, first, false);
        StandInNotificationServer second;
        if (c.next == Next::Waiting)
            serve(secondName, second, true);

        FreedesktopNotificationCenter center(clientBus);
        Notifier notifier(&center);
        notifier.requestAuthorizationIfNeeded();
        ASSERT_TRUE(waitFor([&] { return notifier.authorized(); }));
        notifier.schedule(600, QStringLiteral("一坐 終わり"), QStringLiteral("経行へ"));

        // The first server's connection closes, as when it crashes.
        QDBusServiceWatcher gone(service, clientBus, QDBusServiceWatcher::WatchForOwnerChange);
        bool told = false;
        QObject::connect(&gone, &QDBusServiceWatcher::serviceOwnerChanged, [&] { told = true; });
        QDBusConnection::disconnectFromBus(firstName);
        if (c.waitForTheBusToTell) {
            ASSERT_TRUE(waitFor([&] { return told; }));
        }
        if (c.next == Next::Waiting) {
            // The bus has handed the name on; the client has not heard yet
            // (nothing here runs its event loop), so it sends to the name.
            QDBusConnection secondBus(secondName);
            QDeadlineTimer deadline(10'000);
            while (secondBus.interface()->serviceOwner(service).value() != secondBus.baseService())
                ASSERT_FALSE(deadline.hasExpired()) << "the waiting server never got the name";
        }

        clock.advance(600 * 1000);
        notifier.post(QStringLiteral("一炷 終わり"), QString());
        EXPECT_TRUE(center.isAvailable()) << "a server is expected back";
        ASSERT_TRUE(waitFor([&] { return told; }));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);

        if (c.next == Next::Later)
            serve(secondName, second, false);
        ASSERT_TRUE(waitFor([&] { return second.calls.size() >= 2; }));
        QDeadlineTimer settle(300);
        while (!settle.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QStringList summaries;
        for (const NotifyCall &call : second.calls) {
            summaries << call.summary;
            EXPECT_EQ(call.replacesId, 0u) << "the first server's ids mean nothing to the second";
        }
        summaries.sort();
        EXPECT_EQ(summaries, (QStringList{QStringLiteral("一坐 終わり"), QStringLiteral("一炷 終わり")}))
            << "each shown once";
        EXPECT_TRUE(second.closed.isEmpty()) << "nothing shown is taken off the screen";
        EXPECT_TRUE(first.calls.isEmpty());
        QDBusConnection::disconnectFromBus(secondName);
        ASSERT_TRUE(waitFor([&] { return !clientBus.interface()->isServiceRegistered(service); }));
    }
}

#include "NotificationBusTest.moc"
