#include "views/day/DayItemTexts.h"

#include "core/L.h"
#include "model/DayClock.h"

namespace DayItemTexts {

QString plan(const DayPlan &plan)
{
    const QString kind = plan.isDaily ? L(QStringLiteral("行持")) : L(QStringLiteral("作務"));
    const QString time = plan.timed ? DayClock::text(plan.startMinutes) : L(QStringLiteral("時刻はまだ"));
    return L(QStringLiteral("予定　{0}　{1}　{2}分"), kind, time, plan.minutes);
}

QString event(const DayEvent &event)
{
    return L(QStringLiteral("予定　{0}　{1}分　{2}"), DayClock::text(event.startMinutes), event.minutes,
             event.calendarName);
}

QString deed(const DayDeed &deed)
{
    return L(QStringLiteral("したこと　{0}　{1}分"), DayClock::text(deed.startMinutes), deed.minutes);
}

QString deleteMessage(const DayDeed &deed)
{
    return L(QStringLiteral("「{0}」{1}から{2}分"), deed.title, DayClock::text(deed.startMinutes), deed.minutes);
}

} // namespace DayItemTexts
