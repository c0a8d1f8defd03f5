#include "views/day/DayLineRules.h"

#include <algorithm>

std::optional<DayLine::Opening> SlotRowModel::openingOf(bool upper) const
{
    if (!upper)
        return halfOpening;
    if (opening && opening->start >= slotStart() + 30)
        return std::nullopt;
    return opening;
}

namespace DayLineRules {

namespace {

template<typename T>
QList<T> beginningIn(const QList<T> &items, int from, int to)
{
    QList<T> out;
    for (const T &item : items)
        if (from <= item.startMinutes && item.startMinutes < to)
            out << item;
    std::stable_sort(out.begin(), out.end(), [](const T &a, const T &b) { return a.startMinutes < b.startMinutes; });
    return out;
}

void clip(QList<DayLine::Span> &spans, int start, int minutes, int slotStart, int slotEnd)
{
    const int end = start + minutes;
    if (start >= slotEnd || end <= slotStart)
        return;
    const double from = (std::max(start, slotStart) - slotStart) / 60.0;
    const double to = (std::min(end, slotEnd) - slotStart) / 60.0;
    if (from < to)
        spans << DayLine::Span{from, to};
}

} // namespace

SlotRowModel row(int hour, const QList<DayEvent> &timed, const QList<DayPlan> &plans, const QList<DayDeed> &deeds,
                 const QList<DayDeed> &calendarDeeds, bool today, int nowMinute)
{
    SlotRowModel r;
    r.hour = hour;
    const int s = r.slotStart(), e = r.slotEnd();
    r.events = beginningIn(timed, s, e);
    r.plans = beginningIn(plans, s, e);
    r.deeds = beginningIn(deeds + calendarDeeds, s, e);
    r.busy = DayLine::isBusy(hour, timed, plans);
    r.opening = DayLine::opening(hour, timed, plans, s, kLeast);
    r.halfOpening = DayLine::opening(hour, timed, plans, s + 30, kLeast);
    r.isNow = today && s <= nowMinute && nowMinute < e;
    r.nowFraction = (nowMinute - s) / 60.0;
    for (const DayEvent &ev : timed)
        clip(r.plannedSpans, ev.startMinutes, ev.minutes, s, e);
    for (const DayPlan &p : plans)
        clip(r.plannedSpans, p.startMinutes, p.minutes, s, e);
    for (const DayDeed &d : deeds + calendarDeeds)
        clip(r.deedSpans, d.startMinutes, d.minutes, s, e);
    return r;
}

QList<SlotRowModel> rows(const QList<DayEvent> &events, const QList<DayPlan> &plans, const QList<DayDeed> &deeds,
                         const QList<DayDeed> &calendarDeeds, bool today, int nowMinute)
{
    QList<DayEvent> timed;
    for (const DayEvent &e : events)
        if (!e.isAllDay)
            timed << e;
    QList<SlotRowModel> out;
    out.reserve(24);
    for (int h = 0; h < 24; ++h)
        out << row(h, timed, plans, deeds, calendarDeeds, today, nowMinute);
    return out;
}

} // namespace DayLineRules
