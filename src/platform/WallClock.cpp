#include "platform/WallClock.h"

namespace WallClock {

QDateTime atMinute(const QDate &day, int minutes)
{
    const int days = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
    const int rest = minutes - days * 1440;
    return QDateTime(day.addDays(days), QTime(rest / 60, rest % 60));
}

qint64 wallSecondsSince(const QDate &day, const QDateTime &t)
{
    const QDateTime local = t.toLocalTime();
    return day.daysTo(local.date()) * 86400 + local.time().msecsSinceStartOfDay() / 1000;
}

} // namespace WallClock
