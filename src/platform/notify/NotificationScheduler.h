#pragma once

#include "platform/notify/NotificationRequest.h"

#include <QList>
#include <QObject>
#include <QStringList>

class ClockTimer;

// Where due requests go: the desktop transport, or a list in tests.
class NotificationSink
{
public:
    virtual ~NotificationSink() = default;
    virtual void show(const NotificationRequest &request) = 0;
};

// Keeps the pending notification requests and hands each to the sink when it
// falls due on the wall clock. The desktop service cannot schedule, so the
// program does: one timer is armed for the earliest due time, and while
// anything is pending a coarse check compares the wall clock with the due
// times, because a timer does not run while the machine sleeps. A request
// missed during sleep is shown once on waking; a daily one is then re-armed
// for its next time of day after now, however many days were slept through.
class NotificationScheduler : public QObject
{
    Q_OBJECT
public:
    // How often the wall clock is compared while requests are pending.
    static constexpr qint64 kWakeCheckMs = 30'000;

    explicit NotificationScheduler(NotificationSink &sink, QObject *parent = nullptr);
    ~NotificationScheduler() override;

    // Adds a request, replacing one pending under the same identifier. A
    // request already due (immediate, or an interval of zero or less) goes to
    // the sink before this returns. Returns the new addition's ticket.
    quint64 add(const NotificationRequest &request);
    // Drops the requests pending under these identifiers.
    void remove(const QStringList &identifiers);
    // Drops the listed additions that are still pending, matched by ticket.
    void remove(const QList<PendingNotification> &listed);
    void clear();

    // Pending requests, earliest due first (ties in order of addition).
    QList<PendingNotification> pending() const { return m_pending; }

    // Shows whatever is due by the clock now and re-arms the timers.
    void check();

private:
    void rearm();

    NotificationSink &m_sink;
    QList<PendingNotification> m_pending; // kept sorted by (due, ticket)
    quint64 m_nextTicket = 1;
    ClockTimer *m_dueTimer;
    ClockTimer *m_wakeCheck;
};
