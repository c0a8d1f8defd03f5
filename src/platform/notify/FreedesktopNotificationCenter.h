#pragma once

#include "platform/notify/NotificationCenter.h"
#include "platform/notify/NotificationScheduler.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QHash>

// The notification center over org.freedesktop.Notifications on the session
// D-Bus. The service cannot schedule, so pending requests are kept here and
// shown by a NotificationScheduler when due. A shown notice is sent with the
// "default" action; an identifier shown again replaces its notice on screen
// (replaces_id); ActionInvoked(id, "default") comes back as tapped() with the
// identifier and user info of the request behind that notice.
//
// With no session bus, or no notification service on it, every operation does
// nothing. Nothing waits for the bus at start: the service is probed once
// (GetCapabilities) without blocking, and requests that fall due before it
// answers are held until it does. The clicks and closings are subscribed
// to as the first notice goes (which waits for one answer from the bus).
//
// A service that leaves the bus after it answered (a restart, a crash, a new
// session) is taken to be away, not gone: requests are still accepted and
// scheduled, what falls due meanwhile (and a notice whose sending failed
// because the service went) is held, and all of it is shown once a service
// answers again. At most kHeldLimit notices are held, the latest.
class FreedesktopNotificationCenter : public NotificationCenter, private NotificationSink
{
    Q_OBJECT
public:
    static constexpr auto kAppName = "Quillmere";
    // The sound theme name asked for when a request has the default sound.
    static constexpr auto kDefaultSoundName = "message-new-instant";
    // The most notices held while no service can take them.
    static constexpr int kHeldLimit = 32;

    // Over the session bus.
    explicit FreedesktopNotificationCenter(QObject *parent = nullptr);
    // Over the given bus connection.
    explicit FreedesktopNotificationCenter(const QDBusConnection &bus, QObject *parent = nullptr);
    ~FreedesktopNotificationCenter() override;

    bool isAvailable() const override;
    // The service cannot refuse: permission is granted when a notification
    // service answers, refused when there is none.
    void requestAuthorization(AuthorizationAnswer answer) override;
    Authorization authorization() const override { return m_authorization; }
    void add(const NotificationRequest &request) override;
    void removePendingRequests(const QStringList &identifiers) override;
    void removePendingRequests(const QList<PendingNotification> &listed) override;
    void removeDeliveredNotifications(const QStringList &identifiers) override;
    QList<PendingNotification> pendingRequests() const override;

    // Plain text made safe for a body the server reads as markup: "&", "<" and
    // ">" become entities, and control characters other than tab and line
    // breaks (which make the markup unreadable) are dropped.
    static QString escapeMarkup(const QString &text);

private slots:
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id, uint reason);
    void onServiceOwnerChanged(const QString &service, const QString &oldOwner, const QString &newOwner);

private:
    // Probing: asked, no answer yet. Away: a service answered earlier in this
    // run and has left; one is expected back.
    enum class Service { Probing, Present, Away, Absent };

    // What is on screen (or being put there) under one identifier.
    struct Shown
    {
        uint serverId = 0;       // the server's id, 0 until known
        quint64 generation = 0;  // the latest Notify sent for this identifier
        bool awaiting = false;   // that Notify has not answered yet
        NotificationRequest request; // what was sent last
    };

    void probe();
    void subscribe();
    void serviceAnswered(bool present, const QStringList &capabilities);
    void serviceLeft();
    void answerAuthorizations(bool granted);
    void show(const NotificationRequest &request) override;
    void hold(const NotificationRequest &request);
    void send(const NotificationRequest &request);
    void notifyAnswered(const QString &identifier, quint64 generation, const QDBusError &error, uint id);
    void close(uint id);

    QDBusConnection m_bus;
    Service m_service = Service::Absent;
    bool m_seen = false; // a service answered in this run
    bool m_bodyMarkup = false;
    bool m_subscribed = false;
    Authorization m_authorization = Authorization::NotDetermined;
    QList<AuthorizationAnswer> m_answers;
    QList<NotificationRequest> m_held;
    NotificationScheduler m_scheduler;
    QHash<QString, Shown> m_shown;
    QHash<uint, QString> m_byServerId;
    quint64 m_nextGeneration = 1;
    quint64 m_probe = 0;
};
