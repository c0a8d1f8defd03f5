#include "views/day/PlacePickerRules.h"

#include "sources/LocalTaskSource.h"
#include "sources/TodoOrder.h"

#include <QHash>
#include <algorithm>

namespace PlacePickerRules {

namespace {

int movedStart(int s, DayLine::Opening gap, std::optional<int> now)
{
    if (!now || s >= *now)
        return s;
    const int gapEnd = gap.start + gap.minutes;
    const int h = *now / 30 * 30;
    return std::min(std::max(h, s), std::max(s, gapEnd - 5));
}

} // namespace

Choice initial(DayLine::Opening gap, std::optional<int> now, bool asDeed)
{
    const int gapEnd = gap.start + gap.minutes;
    int s = gap.start;
    if (!asDeed && now && gap.start < *now)
        s = movedStart(gap.start, gap, now);
    return {s, std::min(gapEnd - s, 30)};
}

Choice toPlan(Choice current, DayLine::Opening gap, std::optional<int> now)
{
    const int gapEnd = gap.start + gap.minutes;
    Choice c = current;
    c.start = movedStart(current.start, gap, now);
    c.minutes = std::min(c.minutes, std::max(gapEnd - c.start, 5));
    return c;
}

QList<LocalTask> samu(const QList<LocalTask> &open, const QList<QUuid> &placedIDs, const QDateTime &now)
{
    QList<TodoItem> items;
    QHash<QString, LocalTask> byID;
    for (const LocalTask &t : open) {
        const TodoItem item = LocalTaskSource::row(t);
        byID.insert(item.ref.id, t);
        items << item;
    }
    QList<LocalTask> ordered;
    for (const TodoItem &item : TodoOrder::sorted(items, now)) {
        const auto it = byID.constFind(item.ref.id);
        if (it != byID.constEnd())
            ordered << *it;
    }
    if (placedIDs.isEmpty())
        return ordered;
    QList<LocalTask> placed, others;
    for (const LocalTask &t : ordered)
        (placedIDs.contains(t.id) ? placed : others) << t;
    return placed + others;
}

Split split(const QList<LocalTask> &samu, const QList<QUuid> &placedIDs)
{
    Split s;
    for (const LocalTask &t : samu)
        (t.due || placedIDs.contains(t.id) ? s.shown : s.folded) << t;
    if (s.shown.isEmpty()) {
        s.shown = samu;
        s.folded.clear();
    }
    return s;
}

} // namespace PlacePickerRules
