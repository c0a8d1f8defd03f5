#include "stores/Lookback.h"

#include "core/L.h"
#include "stores/DayMath.h"
#include "stores/Shikunichi.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace Lookback {

Summary summary(const QList<SessionRecord> &records, const std::optional<QDateTime> &lastSwept,
                const QDateTime &date, const QTimeZone &zone)
{
    const QDateTime today = DayMath::startOfDay(date, zone);
    const QDateTime fallback = Shikunichi::previous(date, zone).value_or(today);
    const QDateTime base = lastSwept ? DayMath::startOfDay(*lastSwept, zone) : fallback;
    const QDateTime anchor = std::max(fallback, std::min(base, today));

    Summary out;
    // Adding a day keeps the time of day; where a day's clock began at 01:00
    // (daylight saving starting at midnight) the next day still begins at
    // 00:00, so both bounds are taken back to the start of their day.
    QDateTime from = DayMath::addDays(anchor, 1, zone);
    out.from = from.isValid() ? DayMath::startOfDay(from, zone) : today;
    QDateTime end = DayMath::addDays(today, 1, zone);
    end = end.isValid() ? DayMath::startOfDay(end, zone) : today;
    out.to = today;
    out.days = std::max(DayMath::wholeDays(out.from, end, zone), 1);

    // Per-title totals in order of first appearance, so equal keys stay put.
    QList<QString> titles;
    QHash<QString, std::pair<qint64, int>> totals;
    qint64 allMsecs = 0;
    for (const SessionRecord &r : records) {
        if (r.deletedAt || r.phase != Phase::focus || r.start < out.from || r.start >= end)
            continue;
        const qint64 msecs = r.start.msecsTo(r.end);
        allMsecs = addMsecs(allMsecs, msecs);
        ++out.sessions;
        const QString key = r.title.trimmed();
        if (key.isEmpty())
            continue;
        auto it = totals.find(key);
        if (it == totals.end()) {
            titles.append(key);
            it = totals.insert(key, {0, 0});
        }
        it->first = addMsecs(it->first, msecs);
        it->second += 1;
    }
    out.minutes = roundedMinutes(allMsecs);

    QList<Line> lines;
    for (const QString &t : titles)
        lines.append(Line{t, roundedMinutes(totals[t].first), totals[t].second});
    std::stable_sort(lines.begin(), lines.end(), [](const Line &a, const Line &b) {
        if (a.minutes != b.minutes)
            return a.minutes > b.minutes;
        return DayMath::textLess(a.title, b.title);
    });
    if (lines.size() > 6)
        lines.resize(6);
    out.lines = lines;
    return out;
}

QList<DayWords> words(const QList<DayNote> &notes, const QDateTime &from, const QDateTime &to, const QTimeZone &zone)
{
    const QString first = DayMath::dayKey(from, zone);
    const QString last = DayMath::dayKey(to, zone);
    QList<DayWords> out;
    for (const DayNote &n : notes) {
        if (n.deletedAt || n.day < first || n.day > last)
            continue;
        const QString morning = n.intention.trimmed();
        const QString evening = n.reflection.trimmed();
        if (morning.isEmpty() && evening.isEmpty())
            continue;
        DayWords w{n.day, std::nullopt, std::nullopt};
        if (!morning.isEmpty())
            w.morning = morning;
        if (!evening.isEmpty())
            w.evening = evening;
        out.append(w);
    }
    std::stable_sort(out.begin(), out.end(), [](const DayWords &a, const DayWords &b) { return a.day < b.day; });
    return out;
}

QString DayWords::label() const
{
    QList<int> numbers;
    for (const QString &piece : day.split(QLatin1Char('-'), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = piece.toInt(&ok);
        if (ok)
            numbers.append(n);
    }
    if (numbers.size() != 3)
        return day;
    return monthDay(numbers[1], numbers[2]);
}

} // namespace Lookback

