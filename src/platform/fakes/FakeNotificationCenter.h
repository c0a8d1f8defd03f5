#pragma once

#include "platform/notify/NotificationCenter.h"
#include "platform/time/Clock.h"
#include "platform/notify/NotificationScheduler.h"

// An in-memory notification center for tests. Pending requests fall due on the
// current clock (install a FakeClock and advance it); shown ones are kept in
// delivered(). Every call is written to log() ("add <id>", "removePending <ids>",
// "removeListed <ids>", "removeDelivered <ids>", "pendingRequests",
// "requestAuthorization") so tests can see the order of calls, or that none
// was made.
class FakeNotificationCenter : public NotificationCenter, private NotificationSink
{
    Q_OBJECT
public:
    explicit FakeNotificationCenter(QObject *parent = nullptr);
    ~FakeNotificationCenter() override;

    bool isAvailable() const override { return m_available; }
    void requestAuthorization(AuthorizationAnswer answer) override;
    Authorization authorization() const override { return m_authorization; }
    void add(const NotificationRequest &request) override;
    void removePendingRequests(const QStringList &identifiers) override;
    void removePendingRequests(const QList<PendingNotification> &listed) override;
    void removeDeliveredNotifications(const QStringList &identifiers) override;
    QList<PendingNotification> pendingRequests() const override;

    // Test controls.
    void setAvailable(bool available) { m_available = available; }
    // Answers the outstanding permission requests (they wait until this call).
    void answerAuthorization(bool granted);
    int outstandingAuthorizationRequests() const { return int(m_answers.size()); }
    // The shown requests, oldest first (one per identifier: a replacement takes
    // the place of the notice it replaces).
    const QList<NotificationRequest> &delivered() const { return m_delivered; }
    // Every request that was shown, in order, the replaced ones included.
    const QList<NotificationRequest> &shownSoFar() const { return m_shownSoFar; }
    // A tap on a shown notice; false when nothing is shown under that identifier.
    bool tap(const QString &identifier);
    const QStringList &log() const { return m_log; }
    void clearLog() { m_log.clear(); }

private:
    void show(const NotificationRequest &request) override;

    bool m_available = true;
    Authorization m_authorization = Authorization::NotDetermined;
    QList<AuthorizationAnswer> m_answers;
    NotificationScheduler m_scheduler;
    QList<NotificationRequest> m_delivered;
    QList<NotificationRequest> m_shownSoFar;
    mutable QStringList m_log;
};
