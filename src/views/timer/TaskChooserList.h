#pragma once

#include "core/TaskSource.h"
#include "views/tasks/UndatedFoldRow.h"

#include <QDateTime>
#include <QList>
#include <QString>

class TaskHub;

// How the task choosers of the timer tab (the rounds picker and the task
// picker) list the task hub: the dated tasks first under "Samu", the undated
// ones behind the fold, then the daily practices under "Gyōji". When no task
// has a due date every task is listed openly and there is no fold. Each
// list keeps the hub's order.
struct TaskChooserList
{
    QList<TodoItem> shown;  // under "Samu"
    QList<TodoItem> folded; // behind the fold
    QList<TodoItem> daily;  // under "Gyōji"

    static TaskChooserList of(const QList<TodoItem> &items, const QList<TodoItem> &dailyItems);
    static TaskChooserList of(const TaskHub &hub);

    // No task and no practice: the chooser shows its empty state instead.
    bool isEmpty() const { return shown.isEmpty() && folded.isEmpty() && daily.isEmpty(); }

    // A row of the list as drawn, top to bottom.
    struct Row
    {
        enum class Kind { header, task, fold };
        Kind kind = Kind::task;
        QString header;       // a section's title
        TodoItem item;        // a task row's task (its ref is the row's identity)
        bool overdue = false; // a task row due before the start of today
        UndatedFoldRow fold;  // the fold row

        bool operator==(const Row &) const = default;
    };
    // The rows with the fold open or closed; a section without tasks has no
    // header, and there is no fold row without undated tasks behind it.
    QList<Row> rows(bool showsUndated, const QDateTime &now) const;

    // Due before the start of the day of now; a task due later today is not.
    static bool isOverdue(const TodoItem &item, const QDateTime &now);
};
