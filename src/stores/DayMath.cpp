#include "stores/DayMath.h"

#include <QRegularExpression>
#include <algorithm>

namespace DayMath {

QDate dateIn(const QDateTime &date, const QTimeZone &zone)
{
    return date.toTimeZone(zone).date();
}

QDateTime startOfDay(const QDateTime &date, const QTimeZone &zone)
{
    return dateIn(date, zone).startOfDay(zone);
}

bool sameDay(const QDateTime &a, const QDateTime &b, const QTimeZone &zone)
{
    return dateIn(a, zone) == dateIn(b, zone);
}

QDateTime addDays(const QDateTime &date, int days, const QTimeZone &zone)
{
    return date.toTimeZone(zone).addDays(days);
}

int wholeDays(const QDateTime &from, const QDateTime &to, const QTimeZone &zone)
{
    const QDateTime a = from.toTimeZone(zone);
    const QDateTime b = to.toTimeZone(zone);
    qint64 days = a.date().daysTo(b.date());
    // A last day that is not yet complete does not count.
    if (days > 0 && b.time() < a.time())
        --days;
    else if (days < 0 && b.time() > a.time())
        ++days;
    return int(days);
}

QString dayKey(const QDateTime &date, const QTimeZone &zone)
{
    return dateIn(date, zone).toString(QStringLiteral("yyyy-MM-dd"));
}

std::optional<QDate> parseDayKey(const QString &key)
{
    // \z, not $: "$" also matches before a final line feed.
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})\\z"));
    const QRegularExpressionMatch m = form.match(key);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

bool textLess(const QString &a, const QString &b)
{
    const QList<uint> x = a.normalized(QString::NormalizationForm_C).toUcs4();
    const QList<uint> y = b.normalized(QString::NormalizationForm_C).toUcs4();
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end());
}

} // namespace DayMath
