#include "platform/time/WallClock.h"

namespace WallClock {

QDateTime atMinute(const QDate &day, int minutes)
{
    const int days = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
    const int rest = minutes - days * 1440;
    const QDate date = day.addDays(days);
    const QDateTime wall(date, QTime(rest / 60, rest % 60));
    if (wall.isValid())
        return wall;
    // A time the clocks skip (inside a spring-forward gap) does not exist on
    // the wall: count on from the start of the day in plain seconds, which
    // lands just past the gap by its length, so the plan is still kept.
    return date.startOfDay().addSecs(qint64(rest) * 60);
}

qint64 wallSecondsSince(const QDate &day, const QDateTime &t)
{
    const QDateTime local = t.toLocalTime();
    return day.daysTo(local.date()) * 86400 + local.time().msecsSinceStartOfDay() / 1000;
}

} // namespace WallClock
