#include "sources/LocalTaskSource.h"

#include "core/KivJSON.h"
#include "core/L.h"
#include "core/PerLanguage.h"
#include "platform/time/Clock.h"
#include "sources/TodoOrder.h"
#include "stores/LocalTaskStore.h"

#include <algorithm>

LocalTaskSource::LocalTaskSource(LocalTaskStore &store, QObject *parent)
    : TaskSource(parent)
    , m_store(store)
{
}

TodoItem LocalTaskSource::row(const LocalTask &task)
{
    TodoItem item;
    item.ref = TaskRef{kSourceID, KivJSON::uuidString(task.id), std::nullopt};
    item.title = task.title;
    item.listName = QString();
    item.due = task.due;
    item.notes = task.notes;
    item.estimateMinutes = task.estimateMinutes;
    item.isSomeday = task.isSomeday;
    item.createdAt = task.createdAt;
    item.order = task.order;
    return item;
}

std::optional<QUuid> LocalTaskSource::localId(const TaskRef &ref)
{
    if (ref.source != kSourceID)
        return std::nullopt;
    // Only the 36-character form is a UUID text (either case); braces or
    // other decorations are not.
    return KivJSON::parseUuid(ref.id);
}

QList<TodoItem> LocalTaskSource::items() const
{
    QList<TodoItem> rows;
    for (const LocalTask &task : m_store.open())
        rows.append(row(task));
    return TodoOrder::sorted(rows, Clock::current().now());
}

QList<TodoItem> LocalTaskSource::dailyItems() const
{
    QList<TodoItem> rows;
    for (const LocalTask &task : m_store.daily())
        rows.append(row(task));
    return rows;
}

QString LocalTaskSource::displayName() const
{
    static PerLanguage<QString> name;
    return name([] { return L("このアプリ"); });
}

void LocalTaskSource::openTasks(int limit, Rows done)
{
    QList<TodoItem> rows = items();
    rows = rows.first(std::clamp<qsizetype>(limit, 0, rows.size()));
    if (done)
        done(rows);
}

std::optional<QUuid> LocalTaskSource::existing(const TaskRef &ref) const
{
    const std::optional<QUuid> id = localId(ref);
    if (!id || !m_store.task(*id))
        return std::nullopt;
    return id;
}

void LocalTaskSource::logProgress(const TaskProgress &progress, const TaskRef &ref, Done done)
{
    const std::optional<QUuid> id = existing(ref);
    if (id)
        m_store.appendProgress(progress, *id);
    if (done)
        done(id.has_value());
}

void LocalTaskSource::complete(const TaskRef &ref, Done done)
{
    const std::optional<QUuid> id = existing(ref);
    if (id) {
        const LocalTask task = *m_store.task(*id);
        const QDateTime now = Clock::current().now();
        if (!task.isDaily)
            m_store.complete(*id, now);
        else if (!task.doneDays.contains(ProgressNote::dayString(now)))
            // markDone toggles: a practice already ticked today stays ticked.
            m_store.markDone(*id, now);
    }
    if (done)
        done(id.has_value());
}

void LocalTaskSource::setNotes(const QString &text, const TaskRef &ref, Done done)
{
    const std::optional<QUuid> id = existing(ref);
    if (id)
        m_store.setNotes(*id, text);
    if (done)
        done(id.has_value());
}
