#include "sources/PlanNotice.h"

#include "platform/time/WallClock.h"

#include <algorithm>

QList<PlanNotice::Item> PlanNotice::upcoming(const QList<DayPlan> &plans, const QDateTime &on, const QDateTime &now,
                                             bool running)
{
    return items(plans, on, now, running, kAdvanceSeconds);
}

QList<PlanNotice::Item> PlanNotice::arrivals(const QList<DayPlan> &plans, const QDateTime &on, const QDateTime &now,
                                             bool running)
{
    return items(plans, on, now, running, 0);
}

QList<PlanNotice::Item> PlanNotice::items(const QList<DayPlan> &plans, const QDateTime &on, const QDateTime &now,
                                          bool running, int secondsBefore)
{
    QList<Item> out;
    if (running)
        return out;
    const QDate day = on.toLocalTime().date();
    for (const DayPlan &plan : plans) {
        if (!plan.timed)
            continue;
        // The plan's start is a time on the day's wall clock.
        const QDateTime start = WallClock::atMinute(day, plan.startMinutes);
        const QDateTime at = start.addSecs(-secondsBefore);
        if (at > now)
            out << Item{plan.id, plan.title, start, at};
    }
    std::stable_sort(out.begin(), out.end(), [](const Item &a, const Item &b) { return a.at < b.at; });
    return out;
}
