#include "stores/Sweep.h"

#include "core/L.h"
#include "stores/DayMath.h"

#include <algorithm>

namespace Sweep {

QDateTime lastTouched(const LocalTask &task)
{
    QDateTime latest = std::max(task.updatedAt, task.createdAt);
    if (task.reviewedAt && *task.reviewedAt > latest)
        latest = *task.reviewedAt;
    return latest;
}

QList<LocalTask> quiet(const QList<LocalTask> &tasks, const QDateTime &on, int limit, const QTimeZone &zone)
{
    const QDateTime today = DayMath::startOfDay(on, zone);
    const QDateTime cutoff = DayMath::addDays(today, -10, zone);
    if (!cutoff.isValid())
        return {};
    QList<LocalTask> kept;
    for (const LocalTask &t : tasks) {
        if (t.deletedAt || t.completedAt || t.abandonedAt || t.isDaily)
            continue;
        if (t.reviewedAt && *t.reviewedAt >= cutoff)
            continue;
        const bool pastDue = t.due && *t.due < today;
        if (pastDue || lastTouched(t) < cutoff)
            kept.append(t);
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const LocalTask &a, const LocalTask &b) { return lastTouched(a) < lastTouched(b); });
    if (kept.size() > std::max(limit, 0))
        kept.resize(std::max(limit, 0));
    return kept;
}

QString reason(const LocalTask &task, const QDateTime &on, const QTimeZone &zone)
{
    const QDateTime today = DayMath::startOfDay(on, zone);
    if (task.due && *task.due < today) {
        const int days = DayMath::wholeDays(DayMath::startOfDay(*task.due, zone), today, zone);
        return L("期限を {0} 日過ぎています", std::max(days, 0));
    }
    const int days = DayMath::wholeDays(lastTouched(task), today, zone);
    return L("{0} 日、触れていません", std::max(days, 0));
}

} // namespace Sweep
