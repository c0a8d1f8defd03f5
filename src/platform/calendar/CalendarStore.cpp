#include "platform/calendar/CalendarStore.h"

#include "platform/time/Clock.h"

#include <algorithm>
#include <limits>
#include <numeric>

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
