#include "views/tasks/PlaceMonth.h"

#include "core/L.h"
#include "stores/DayMath.h"

namespace PlaceMonth {

QDateTime firstOfMonth(const QDateTime &date)
{
    const QDate d = DayMath::dateIn(date);
    if (!d.isValid())
        return date;
    return QDate(d.year(), d.month(), 1).startOfDay();
}

QDateTime shift(const QDateTime &month, int n)
{
    const QDate d = DayMath::dateIn(month).addMonths(n);
    if (!d.isValid())
        return month;
    return QDate(d.year(), d.month(), 1).startOfDay();
}

bool canGoBack(const QDateTime &month, const QDateTime &now)
{
    return month > firstOfMonth(now);
}

QList<std::optional<QDate>> cells(const QDateTime &month)
{
    QList<std::optional<QDate>> out;
    const QDate first = DayMath::dateIn(month);
    if (!first.isValid())
        return out;
    // Qt numbers Monday 1 … Sunday 7; the grid starts on Sunday.
    const int blanks = first.dayOfWeek() % 7;
    for (int i = 0; i < blanks; ++i)
        out << std::nullopt;
    for (int day = 0; day < first.daysInMonth(); ++day)
        out << first.addDays(day);
    return out;
}

QString title(const QDateTime &month)
{
    const QDate d = DayMath::dateIn(month);
    if (Lang::isJapanese())
        return QStringLiteral("%1年%2月").arg(d.year()).arg(d.month());
    static const char *names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(names[qBound(1, d.month(), 12) - 1])).arg(d.year());
}

QStringList weekdays()
{
    return L(QStringLiteral("日,月,火,水,木,金,土")).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

} // namespace PlaceMonth
