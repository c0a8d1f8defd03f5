#pragma once

#include "core/TaskSource.h"

#include <QDateTime>
#include <QList>
#include <algorithm>

// The open tasks in their date groups: past due (0), today (1), coming up
// (2), no date (3), always in that order and only those that hold a task;
// inside a group the hub's order is kept as it is.
struct TodoGroup
{
    int rank = 3;
    QList<TodoItem> items;
    bool operator==(const TodoGroup &) const = default;
};

namespace TodoGroups {
QList<TodoGroup> of(const QList<TodoItem> &items, const QDateTime &now);
// Whether a row of the group can be dragged onto the others: undated local
// tasks with a readable id only.
bool canReorder(int rank, const TodoItem &item);
} // namespace TodoGroups

// One page of an archive of closed tasks: how many rows show and how many
// the show-more button still tells of.
struct ArchivePage
{
    int rows = 0;
    int remaining = 0;
    static constexpr int kStep = 20;
    static ArchivePage of(int count, int shown)
    {
        const int rows = std::max(0, std::min(shown, count));
        return {rows, count - rows};
    }
    bool operator==(const ArchivePage &) const = default;
};
