#pragma once

#include "core/TaskSource.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>

// The one display order of open tasks, shared by the task hub, the local list
// and the reminders list, and the four groups of tasks by due day.
//
// Ranks: 0 overdue (due before the start of today), 1 due today, 2 due later,
// 3 undated. Within a rank: the earlier due day (the time of day never
// counts), then the manual order of undated tasks (placed before unplaced),
// then the creation date (dated before undated), then the title in code-point
// order. The comparison is a strict weak ordering, so it is safe for any sort.
namespace TodoOrder {

int rank(const TodoItem &item, const QDateTime &now, const QTimeZone &zone = QTimeZone::systemTimeZone());
// Whether a comes before b.
bool before(const TodoItem &a, const TodoItem &b, const QDateTime &now,
            const QTimeZone &zone = QTimeZone::systemTimeZone());
// A sorted copy; rows tied in every key keep their input order.
QList<TodoItem> sorted(QList<TodoItem> items, const QDateTime &now,
                       const QTimeZone &zone = QTimeZone::systemTimeZone());
// The heading of a group, through L; any rank other than 0 to 2 is the
// undated group.
QString groupTitle(int rank);

// The ranks of many tasks against one moment: the zone, the start of today
// and today's date are read once, and each due date is converted once, so a
// whole list costs one zone look-up rather than one per task.
class DayRanks
{
public:
    explicit DayRanks(const QDateTime &now, const QTimeZone &zone = QTimeZone::systemTimeZone());
    int rank(const TodoItem &item) const { return rank(item.due); }
    // The rank of a due date; day (when given) receives its day in the zone.
    int rank(const std::optional<QDateTime> &due, QDate *day = nullptr) const;
    const QTimeZone &zone() const { return m_zone; }

private:
    QTimeZone m_zone;
    QDateTime m_startOfToday;
    QDate m_today;
};

} // namespace TodoOrder
