#include "views/tasks/PlaceChipLine.h"

#include "core/L.h"
#include "stores/DayMath.h"
#include "views/tasks/PlaceDay.h"

#include <algorithm>

PlaceChipLine PlaceChipLine::of(const QList<QDateTime> &placed, const QDateTime &now)
{
    PlaceChipLine line;
    line.today = PlaceDay::day(0, now);
    line.tomorrow = PlaceDay::day(1, now);
    const auto on = [&](const QDateTime &day) {
        return std::any_of(placed.begin(), placed.end(), [&](const QDateTime &p) { return DayMath::sameDay(p, day); });
    };
    line.todayLit = on(line.today);
    line.tomorrowLit = on(line.tomorrow);
    line.todayText = L(QStringLiteral("今日 {0}"), PlaceDay::shortDate(line.today));
    line.tomorrowText = L(QStringLiteral("明日 {0}"), PlaceDay::shortDate(line.tomorrow));
    const QDateTime floor = DayMath::startOfDay(now);
    for (const QDateTime &date : placed) {
        // Only days from today on count; today and tomorrow have chips of their own.
        if (date < floor || PlaceDay::isToday(date, now) || PlaceDay::isTomorrow(date, now))
            continue;
        if (!line.firstOther)
            line.firstOther = date;
        ++line.otherCount;
    }
    if (line.firstOther) {
        line.otherText = PlaceDay::shortDate(*line.firstOther);
        if (line.otherCount >= 2)
            line.otherText += L(QStringLiteral(" ほか{0}日"), line.otherCount - 1);
    }
    return line;
}
