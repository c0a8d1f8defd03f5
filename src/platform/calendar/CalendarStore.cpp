#include "platform/calendar/CalendarStore.h"

#include "platform/time/Clock.h"

#include <algorithm>
#include <limits>
#include <numeric>

void sortByStart(QList<CalendarEvent> &events)
{
    // Each start is turned into an instant once: comparing local date-times
    // asks the C library for the local offset every time.
    QList<qint64> keys;
    keys.reserve(events.size());
    for (const CalendarEvent &e : std::as_const(events))
        keys.append(e.start.isValid() ? e.start.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min());
    if (std::is_sorted(keys.begin(), keys.end()))
        return;
    QList<qsizetype> order(events.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return keys[a] < keys[b]; });
    QList<CalendarEvent> sorted;
    sorted.reserve(events.size());
    for (qsizetype i : std::as_const(order))
        sorted.append(std::move(events[i]));
    events = std::move(sorted);
}

QList<CalendarEvent> CalendarStore::eventsOnDay(const QDate &day, const QStringList &calendarIds) const
{
    // The first moment of each day: where a daylight-saving change skips
    // midnight, the day begins at the end of the gap.
    const QDateTime from = day.startOfDay();
    const QDateTime to = day.addDays(1).startOfDay();
    if (!from.isValid() || !to.isValid())
        return {};
    return events(from, to, calendarIds);
}

CalendarStore::EventsReading CalendarStore::eventsReading(const QDateTime &from, const QDateTime &to,
                                                          const QStringList &calendarIds) const
{
    return [events = events(from, to, calendarIds)] { return events; };
}

CalendarStore::EventsReading CalendarStore::eventsReadingOnDay(const QDate &day, const QStringList &calendarIds) const
{
    const QDateTime from = day.startOfDay();
    const QDateTime to = day.addDays(1).startOfDay();
    if (!from.isValid() || !to.isValid())
        return [] { return QList<CalendarEvent>(); };
    return eventsReading(from, to, calendarIds);
}

bool CalendarStore::completeReminder(const QString &id, QString *error)
{
    std::optional<Reminder> found = reminder(id);
    if (!found) {
        if (error)
            *error = QStringLiteral("no reminder has the identifier %1").arg(id);
        return false;
    }
    found->completed = true;
    found->completedAt = Clock::current().now();
    return saveReminder(*found, error).has_value();
}
