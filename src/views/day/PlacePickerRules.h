#pragma once

#include "stores/DayEvent.h"
#include "stores/LocalTask.h"

#include <QDateTime>
#include <QList>
#include <optional>

// The rules of the place picker: where its start and length open, how
// switching from deed to plan moves them, and how the open tasks are
// ordered and folded.
namespace PlacePickerRules {

struct Choice
{
    int start = 0;
    int minutes = 0;
    bool operator==(const Choice &) const = default;
};

// The start and length the picker opens with for the gap: the gap's start,
// except that a plan on today starts no earlier than the current half hour
// (and no later than 5 minutes before the gap's end); at most 30 minutes.
Choice initial(DayLine::Opening gap, std::optional<int> now, bool asDeed);
// Switching from deed to plan: the start moves as in initial(), the length
// shrinks to what is left of the gap (never below 5).
Choice toPlan(Choice current, DayLine::Opening gap, std::optional<int> now);

// The open tasks in the task list's order, those planned on the day
// (placedIDs) first.
QList<LocalTask> samu(const QList<LocalTask> &open, const QList<QUuid> &placedIDs, const QDateTime &now);
// The tasks shown and those folded behind the undated fold: undated tasks
// not planned on the day are folded, unless nothing would be shown.
struct Split
{
    QList<LocalTask> shown;
    QList<LocalTask> folded;
};
Split split(const QList<LocalTask> &samu, const QList<QUuid> &placedIDs);

} // namespace PlacePickerRules
