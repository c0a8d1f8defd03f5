#pragma once

#include "core/Models.h"
#include "stores/DayNote.h"
#include "stores/LocalTask.h"

#include <QList>

// How two copies of the synced lists become one: records and tasks by id,
// day notes by day key. Every device runs the same rules, and the result is
// sorted on a total order (ties on the sort key break on the id), so the
// same elements give the same list, and the same bytes, on every device.
//
// Which argument is a matters where a rule says so: callers pass their local
// or running data as a and the downloaded or accumulated data as b. Within
// one list, elements of one key are merged by the same rule, the one met
// earlier as the first argument.
namespace SyncMerge {

// Records: a deletion wins; of two deletions the earlier; otherwise the later
// edit (an absent edit time is the distant past), which keeps the other copy's
// calendar event id when it has none; of equal edits the one with a calendar
// event id. Copies still tied (deleted at the same moment, or edited at the
// same moment with or without calendar event ids on both) go to the greater
// by encoded content, the same on every device whichever copy is local.
// Sorted by start, then id.
QList<SessionRecord> mergeRecords(const QList<SessionRecord> &a, const QList<SessionRecord> &b);

// Tasks: the later change is the base (equal changes: a when a is deleted,
// else b); done days are the sorted union of both; the other copy's order
// and its time come along when they were set later. Sorted by creation
// time, then id.
QList<LocalTask> mergeTasks(const QList<LocalTask> &a, const QList<LocalTask> &b);

// Day notes: the later change is the base, and its empty lines, empty plan
// list, missing guide and sweep time are filled from the other. Of two notes
// changed at the same moment the base is the greater by encoded content, the
// same on every device whichever copy is local. Sorted by day key.
QList<DayNote> mergeDays(const QList<DayNote> &a, const QList<DayNote> &b);

} // namespace SyncMerge
