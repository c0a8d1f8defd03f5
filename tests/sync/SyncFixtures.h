#pragma once

#include "stores/DayNote.h"
#include "stores/LocalTask.h"
#include "core/Models.h"

#include <QDateTime>
#include <QTimeZone>
#include <QUuid>
#include <optional>

// Small builders for the sync tests: ids from numbers, times as minutes after
// a fixed morning (UTC), so tables of cases stay readable.
namespace SyncFixtures {

inline QUuid uid(uint n)
{
    return QUuid(n, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

inline QDateTime at(int minutes)
{
    return QDateTime(QDate(2025, 3, 4), QTime(9, 0), Qt::UTC).addSecs(qint64(minutes) * 60);
}

inline std::optional<QDateTime> maybeAt(std::optional<int> minutes)
{
    return minutes ? std::optional<QDateTime>(at(*minutes)) : std::nullopt;
}

inline SessionRecord record(uint id, int start, const QString &title = QStringLiteral("坐"),
                            std::optional<int> editedAt = std::nullopt, std::optional<int> deletedAt = std::nullopt,
                            std::optional<QString> calendarEventID = std::nullopt, Phase phase = Phase::focus)
{
    SessionRecord r;
    r.id = uid(id);
    r.phase = phase;
    r.title = title;
    r.start = at(start);
    r.end = at(start + 25);
    r.completed = true;
    r.calendarEventID = calendarEventID;
    r.editedAt = maybeAt(editedAt);
    r.deletedAt = maybeAt(deletedAt);
    return r;
}

inline LocalTask task(uint id, int createdAt, const QString &title, int updatedAt,
                      std::optional<int> deletedAt = std::nullopt)
{
    LocalTask t;
    t.id = uid(id);
    t.title = title;
    t.createdAt = at(createdAt);
    t.updatedAt = at(updatedAt);
    t.deletedAt = maybeAt(deletedAt);
    return t;
}

inline DayPlan plan(uint id, const QString &title, int startMinutes = 540)
{
    DayPlan p;
    p.id = uid(1000 + id);
    p.title = title;
    p.startMinutes = startMinutes;
    p.minutes = 30;
    return p;
}

inline DayNote day(const QString &key, int updatedAt, const QString &intention = QString(),
                   const QList<DayPlan> &plans = {})
{
    DayNote n;
    n.day = key;
    n.updatedAt = at(updatedAt);
    n.intention = intention;
    n.plans = plans;
    return n;
}

} // namespace SyncFixtures
