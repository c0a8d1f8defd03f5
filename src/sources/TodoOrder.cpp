#include "sources/TodoOrder.h"

#include "core/L.h"
#include "stores/DayMath.h"

#include <algorithm>

namespace TodoOrder {

int rank(const TodoItem &item, const QDateTime &now, const QTimeZone &zone)
{
    if (!item.due)
        return 3;
    if (*item.due < DayMath::startOfDay(now, zone))
        return 0;
    if (DayMath::sameDay(*item.due, now, zone))
        return 1;
    return 2;
}

namespace {

// -1, 0 or 1 for a present value against another, a missing one last.
template<typename T>
int comparePresentFirst(const std::optional<T> &a, const std::optional<T> &b)
{
    if (a && b)
        return *a < *b ? -1 : (*b < *a ? 1 : 0);
    if (a != b)
        return a ? -1 : 1;
    return 0;
}

} // namespace

bool before(const TodoItem &a, const TodoItem &b, const QDateTime &now, const QTimeZone &zone)
{
    const int rankA = rank(a, now, zone);
    const int rankB = rank(b, now, zone);
    if (rankA != rankB)
        return rankA < rankB;

    // Equal ranks below 3 mean both are dated; only the day counts.
    if (a.due && b.due) {
        const QDate dayA = DayMath::dateIn(*a.due, zone);
        const QDate dayB = DayMath::dateIn(*b.due, zone);
        if (dayA != dayB)
            return dayA < dayB;
    }
    if (rankA == 3) {
        if (const int c = comparePresentFirst(a.order, b.order))
            return c < 0;
    }
    // A missing creation date sorts last, so that no three rows can form a
    // cycle (a sort given a cyclic comparison may crash or drop rows).
    if (const int c = comparePresentFirst(a.createdAt, b.createdAt))
        return c < 0;
    return DayMath::textLess(a.title, b.title);
}

QList<TodoItem> sorted(QList<TodoItem> items, const QDateTime &now, const QTimeZone &zone)
{
    std::stable_sort(items.begin(), items.end(),
                     [&](const TodoItem &a, const TodoItem &b) { return before(a, b, now, zone); });
    return items;
}

QString groupTitle(int rank)
{
    // Looked up once, on first use, and kept for the run.
    static const QString overdue = L("日を過ぎたもの");
    static const QString today = L("今日のうちに");
    static const QString later = L("これから");
    static const QString undated = L("日を決めない");
    switch (rank) {
    case 0:
        return overdue;
    case 1:
        return today;
    case 2:
        return later;
    default:
        return undated;
    }
}

} // namespace TodoOrder
