#include "platform/CalendarStore.h"

#include "platform/Clock.h"

QList<CalendarEvent> CalendarStore::eventsOnDay(const QDate &day, const QStringList &calendarIds) const
{
    const QDateTime from(day, QTime(0, 0));
    const QDateTime to(day.addDays(1), QTime(0, 0));
    if (!from.isValid() || !to.isValid())
        return {};
    return events(from, to, calendarIds);
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
