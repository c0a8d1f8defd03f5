#include "views/timer/TaskChooserList.h"

#include "core/L.h"
#include "sources/TaskHub.h"
#include "sources/TodoOrder.h"

#include <utility>

TaskChooserList TaskChooserList::of(const QList<TodoItem> &items, const QList<TodoItem> &dailyItems)
{
    TaskChooserList list;
    list.daily = dailyItems;
    for (const TodoItem &item : items)
        (item.due ? list.shown : list.folded) << item;
    if (list.shown.isEmpty())
        std::swap(list.shown, list.folded);
    return list;
}

TaskChooserList TaskChooserList::of(const TaskHub &hub)
{
    return of(hub.items(), hub.dailyItems());
}

bool TaskChooserList::isOverdue(const TodoItem &item, const QDateTime &now)
{
    return item.due && TodoOrder::rank(item, now) == 0;
}

QList<TaskChooserList::Row> TaskChooserList::rows(bool showsUndated, const QDateTime &now) const
{
    QList<Row> out;
    auto tasks = [&](const QList<TodoItem> &items) {
        for (const TodoItem &item : items) {
            Row row;
            row.item = item;
            row.overdue = isOverdue(item, now);
            out << row;
        }
    };
    auto section = [&](const QString &title, const QList<TodoItem> &items) {
        if (items.isEmpty())
            return;
        Row header;
        header.kind = Row::Kind::header;
        header.header = title;
        out << header;
        tasks(items);
    };
    section(L(QStringLiteral("作務")), shown);
    if (!folded.isEmpty()) {
        Row fold;
        fold.kind = Row::Kind::fold;
        fold.fold = UndatedFoldRow::of(int(folded.size()), showsUndated);
        out << fold;
        if (showsUndated)
            tasks(folded);
    }
    section(L(QStringLiteral("行持")), daily);
    return out;
}
