#pragma once

#include "stores/DayEvent.h"
#include "stores/DayPlan.h"

#include <QList>
#include <optional>

// What one hour row of the timeline shows, worked out from the page's
// events, plans and deeds: the entries that begin in the hour, whether the
// hour is busy, the free stretches of its two halves, the now line and the
// marks of its spine.
struct SlotRowModel
{
    int hour = 0;
    QList<DayEvent> events; // timed events beginning in the hour, by start
    QList<DayPlan> plans;   // timed plans beginning in the hour, by start
    QList<DayDeed> deeds;   // own deeds, then calendar copies, by start
    bool busy = false;
    std::optional<DayLine::Opening> opening;     // searched from hh:00
    std::optional<DayLine::Opening> halfOpening; // searched from hh:30
    bool isNow = false;
    double nowFraction = 0;
    QList<DayLine::Span> plannedSpans;
    QList<DayLine::Span> deedSpans;

    int slotStart() const { return hour * 60; }
    int slotEnd() const { return hour * 60 + 60; }
    // The opening of a half: the upper one only when it starts before hh:30.
    std::optional<DayLine::Opening> openingOf(bool upper) const;
    // Whether an entry starting at this minute sits in the upper half.
    bool inUpper(int startMinutes) const { return startMinutes < slotStart() + 30; }

    bool operator==(const SlotRowModel &) const = default;
};

namespace DayLineRules {

// Free stretches shorter than this are never offered.
constexpr int kLeast = 10;
// The timeline shows two columns from this width on.
constexpr int kWideFrom = 520;

// The row of hour h. `timed` are the day's timed events, `plans` the day
// note's timed plans; nowMinute counts only when `today`.
SlotRowModel row(int hour, const QList<DayEvent> &timed, const QList<DayPlan> &plans, const QList<DayDeed> &deeds,
                 const QList<DayDeed> &calendarDeeds, bool today, int nowMinute);
// All 24 rows.
QList<SlotRowModel> rows(const QList<DayEvent> &events, const QList<DayPlan> &plans, const QList<DayDeed> &deeds,
                         const QList<DayDeed> &calendarDeeds, bool today, int nowMinute);

} // namespace DayLineRules
