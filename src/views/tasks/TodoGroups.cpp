#include "views/tasks/TodoGroups.h"

#include "sources/LocalTaskSource.h"
#include "sources/TodoOrder.h"

namespace TodoGroups {

QList<TodoGroup> of(const QList<TodoItem> &items, const QDateTime &now)
{
    QList<TodoItem> byRank[4];
    const TodoOrder::DayRanks ranks(now);
    for (const TodoItem &item : items)
        byRank[std::clamp(ranks.rank(item), 0, 3)].append(item);
    QList<TodoGroup> groups;
    for (int rank = 0; rank < 4; ++rank)
        if (!byRank[rank].isEmpty())
            groups.append({rank, byRank[rank]});
    return groups;
}

bool canReorder(int rank, const TodoItem &item)
{
    return rank == 3 && LocalTaskSource::localId(item.ref).has_value();
}

} // namespace TodoGroups
