#pragma once

#include "core/Models.h"
#include "core/TaskSource.h"
#include "stores/LocalTask.h"

#include <QDateTime>
#include <QList>
#include <QUuid>
#include <optional>

class LocalTaskStore;
class TaskHub;

// The rules of the practice shelf and its cards: which group a practice
// stands in, whether today is marked done, when it was last worked on and
// how the card says so, which move a practice offers, and the flag and
// add operations the shelf makes through the task hub.
namespace PracticeShelf {

// The local task id of a reference: source "local" and an id that reads as
// a UUID; nothing for any other reference.
std::optional<QUuid> localId(const TaskRef &ref);
// The live local task behind an item, if any.
std::optional<LocalTask> taskOf(const TodoItem &item, const LocalTaskStore &store);

// The practices asked every day and those done now and then, each in the
// hub's order. An item whose task cannot be found counts as every-day.
struct Groups
{
    QList<TodoItem> everyDay;
    QList<TodoItem> occasional;
};
Groups groups(const QList<TodoItem> &items, const LocalTaskStore &store);

// An every-day practice (or one whose task is missing) shows the today mark.
bool showsTodayMark(const std::optional<LocalTask> &task);
// Today's day is among the task's done days.
bool isDoneToday(const std::optional<LocalTask> &task, const QDateTime &now);

// The latest moment the practice was worked on: the latest start of a
// focus round of exactly this task (a round across midnight counts for the
// day it started) or the latest done day, whichever is later.
std::optional<QDateTime> lastWorked(const TodoItem &item, const std::optional<LocalTask> &task,
                                    const QList<SessionRecord> &records);
// "最後は3月16日" ("最後はMar 16" in English), or "まだ手をつけていません".
QString tally(const std::optional<QDateTime> &lastWorked);

// The move between the two groups a practice offers, and the flag it sets.
QString moveLabel(const std::optional<LocalTask> &task);
bool moveMakesOccasional(const std::optional<LocalTask> &task);

// The composer's line under its group choice.
QString composerExplanation(bool occasional);

// Adds a practice from the composer: a local task (title trimmed) made
// daily, and occasional when chosen. Nothing for a blank title.
std::optional<TodoItem> add(TaskHub &hub, const QString &title, bool occasional);

// Sets a flag of a local practice and reloads the hub; any other reference
// changes nothing.
void setOccasional(TaskHub &hub, const TaskRef &ref, bool occasional);
void setDaily(TaskHub &hub, const TaskRef &ref, bool daily);

} // namespace PracticeShelf
