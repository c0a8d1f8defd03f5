#include "views/tasks/PlaceDay.h"

#include "core/L.h"
#include "stores/DayMath.h"

namespace PlaceDay {

namespace {
constexpr qint64 kNineOClock = 32400;
}

QDateTime day(int offset, const QDateTime &now)
{
    return of(DayMath::addDays(now, offset));
}

QDateTime of(const QDateTime &date)
{
    // Seconds after the start of the day, not the wall-clock hour.
    return DayMath::startOfDay(date).addSecs(kNineOClock);
}

QString shortDate(const QDateTime &date)
{
    const QDate d = DayMath::dateIn(date);
    if (!d.isValid())
        return QStringLiteral("0/0");
    return QStringLiteral("%1/%2").arg(d.month()).arg(d.day());
}

QString monthDay(const QDateTime &date)
{
    const QDate d = DayMath::dateIn(date);
    return ::monthDay(d.month(), d.day());
}

bool isToday(const QDateTime &date, const QDateTime &now)
{
    return DayMath::sameDay(date, now);
}

bool isTomorrow(const QDateTime &date, const QDateTime &now)
{
    return DayMath::sameDay(date, DayMath::addDays(now, 1));
}

QString dayLabel(const QDateTime &date, const QDateTime &now)
{
    if (isToday(date, now))
        return L(QStringLiteral("今日"));
    if (isTomorrow(date, now))
        return L(QStringLiteral("明日"));
    return monthDay(date);
}

} // namespace PlaceDay
