#include "platform/notify/NotificationScheduler.h"

#include "platform/time/Clock.h"

#include <algorithm>

namespace {

bool earlier(const PendingNotification &a, const PendingNotification &b)
{
    if (a.due != b.due)
        return a.due < b.due;
    return a.ticket < b.ticket;
}

} // namespace

NotificationScheduler::NotificationScheduler(NotificationSink &sink, QObject *parent)
    : QObject(parent)
    , m_sink(sink)
    , m_dueTimer(new ClockTimer(this))
    , m_wakeCheck(new ClockTimer(this))
{
    m_dueTimer->setSingleShot(true);
    m_wakeCheck->setInterval(kWakeCheckMs);
    connect(m_dueTimer, &ClockTimer::timeout, this, &NotificationScheduler::check);
    connect(m_wakeCheck, &ClockTimer::timeout, this, &NotificationScheduler::check);
}

NotificationScheduler::~NotificationScheduler() = default;

quint64 NotificationScheduler::add(const NotificationRequest &request)
{
    remove(QStringList{request.identifier});
    PendingNotification entry{request, request.trigger.firstDue(Clock::current().now()), m_nextTicket++};
    m_pending.insert(std::upper_bound(m_pending.begin(), m_pending.end(), entry, earlier), entry);
    check();
    return entry.ticket;
}

void NotificationScheduler::remove(const QStringList &identifiers)
{
    if (m_pending.removeIf([&](const PendingNotification &p) { return identifiers.contains(p.request.identifier); }))
        rearm();
}

void NotificationScheduler::remove(const QList<PendingNotification> &listed)
{
    const auto isListed = [&](const PendingNotification &p) {
        return std::any_of(listed.begin(), listed.end(), [&](const PendingNotification &l) { return l.ticket == p.ticket; });
    };
    if (m_pending.removeIf(isListed))
        rearm();
}

void NotificationScheduler::clear()
{
    m_pending.clear();
    rearm();
}

void NotificationScheduler::check()
{
    // One request at a time, with the list already updated before the sink
    // sees it, so a sink that adds or withdraws requests finds a consistent
    // state.
    for (;;) {
        const QDateTime now = Clock::current().now();
        if (m_pending.isEmpty() || m_pending.front().due > now)
            break;
        PendingNotification entry = m_pending.takeFirst();
        const NotificationTrigger &trigger = entry.request.trigger;
        if (trigger.kind() == NotificationTrigger::Kind::TimeOfDay && trigger.repeats()) {
            PendingNotification next = entry;
            next.due = trigger.nextTimeOfDay(now);
            m_pending.insert(std::upper_bound(m_pending.begin(), m_pending.end(), next, earlier), next);
        }
        m_sink.show(entry.request);
    }
    rearm();
}

void NotificationScheduler::rearm()
{
    m_dueTimer->stop();
    if (m_pending.isEmpty()) {
        m_wakeCheck->stop();
        return;
    }
    // The timer may wake early (coarse timers, very long waits clamped);
    // check() then finds nothing due and arms it again for the rest.
    const qint64 wait = std::max<qint64>(Clock::current().now().msecsTo(m_pending.front().due), 0);
    m_dueTimer->start(wait);
    if (!m_wakeCheck->isActive())
        m_wakeCheck->start();
}
