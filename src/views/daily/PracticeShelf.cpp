#include "views/daily/PracticeShelf.h"

#include "core/L.h"
#include "sources/TaskHub.h"
#include "stores/LocalTaskStore.h"


namespace PracticeShelf {

std::optional<QUuid> localId(const TaskRef &ref)
{
    if (ref.source != QLatin1String("local"))
        return std::nullopt;
    const QUuid id = QUuid::fromString(ref.id);
    if (id.isNull())
        return std::nullopt;
    return id;
}

std::optional<LocalTask> taskOf(const TodoItem &item, const LocalTaskStore &store)
{
    if (const std::optional<QUuid> id = localId(item.ref))
        return store.task(*id);
    return std::nullopt;
}

Groups groups(const QList<TodoItem> &items, const LocalTaskStore &store)
{
    Groups out;
    for (const TodoItem &item : items) {
        const std::optional<LocalTask> task = taskOf(item, store);
        if (task && task->isOccasional)
            out.occasional << item;
        else
            out.everyDay << item;
    }
    return out;
}

bool showsTodayMark(const std::optional<LocalTask> &task)
{
    return !task || !task->isOccasional;
}

bool isDoneToday(const std::optional<LocalTask> &task, const QDateTime &now)
{
    return task && task->doneDays.contains(ProgressNote::dayString(now));
}

std::optional<QDateTime> lastWorked(const TodoItem &item, const std::optional<LocalTask> &task,
                                    const QList<SessionRecord> &records)
{
    std::optional<QDateTime> latest;
    for (const SessionRecord &r : records) {
        if (r.deletedAt || r.phase != Phase::focus || !r.taskRef || !(*r.taskRef == item.ref))
            continue;
        if (!latest || r.start > *latest)
            latest = r.start;
    }
    if (task)
        if (const std::optional<QDateTime> done = LocalTaskStore::lastDoneDay(*task))
            if (!latest || *done > *latest)
                latest = done;
    return latest;
}

QString tally(const std::optional<QDateTime> &lastWorked)
{
    if (!lastWorked)
        return L("まだ手をつけていません");
    const QDate day = lastWorked->toLocalTime().date();
    return L("最後は{0}", monthDay(day.month(), day.day()));
}

bool moveMakesOccasional(const std::optional<LocalTask> &task)
{
    return !(task && task->isOccasional);
}

QString moveLabel(const std::optional<LocalTask> &task)
{
    return moveMakesOccasional(task) ? L("折々に移す") : L("日々に移す");
}

QString composerExplanation(bool occasional)
{
    return occasional ? L("毎日は問われません。やった日だけ跡が残ります。")
                      : L("毎日が問われます。今日のぶんとして数えます。");
}

std::optional<TodoItem> add(TaskHub &hub, const QString &title, bool occasional)
{
    const std::optional<TodoItem> item = hub.add(title);
    if (!item)
        return std::nullopt;
    setDaily(hub, item->ref, true);
    if (occasional)
        setOccasional(hub, item->ref, true);
    return item;
}

void setOccasional(TaskHub &hub, const TaskRef &ref, bool occasional)
{
    if (const std::optional<QUuid> id = localId(ref)) {
        hub.local().setOccasional(*id, occasional);
        hub.reload();
    }
}

void setDaily(TaskHub &hub, const TaskRef &ref, bool daily)
{
    if (const std::optional<QUuid> id = localId(ref)) {
        hub.local().setDaily(*id, daily);
        hub.reload();
    }
}

} // namespace PracticeShelf
