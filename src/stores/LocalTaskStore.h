#pragma once

#include "core/TaskSource.h"
#include "stores/LocalTask.h"
#include "stores/EncodedList.h"
#include "stores/StoreBase.h"

#include <QList>
#include <QTimeZone>
#include <functional>

// The program's own task list in "tasks.json": every task made here, copied
// in from another source or received from another device, deleted ones kept
// as tombstones. Views are computed from the whole list on every call; every
// change is saved at once.
//
// The operations keep these rules: a task never has both completedAt and
// abandonedAt; doneDays holds each day once, ascending; setting isOccasional
// sets isDaily. Operations given an id that no stored task has (tombstones
// count) do nothing at all.
class LocalTaskStore : public StoreBase
{
    Q_OBJECT

public:
    static inline const QString fileName = QStringLiteral("tasks.json");

    // folder empty: the program's data folder.
    explicit LocalTaskStore(const QString &folder = QString(), QObject *parent = nullptr);

    // Every stored task, tombstones included, in stored order.
    const QList<LocalTask> &allTasks() const { return m_tasks; }
    // Replaces the whole list without saving; an equal list changes nothing.
    void setAllTasks(const QList<LocalTask> &tasks);

    // Views ("live": no deletion time). Sorts are stable.
    QList<LocalTask> tasks() const;             // live, stored order
    QList<LocalTask> open() const;              // not done, not set aside, not daily
    QList<LocalTask> daily() const;             // practices on the shelf, oldest first
    QList<LocalTask> completed(const QDateTime &day, const QTimeZone &zone = QTimeZone::systemTimeZone()) const;
    QList<LocalTask> completedBefore(const QDateTime &day,
                                     const QTimeZone &zone = QTimeZone::systemTimeZone()) const;
    QList<LocalTask> setAside() const;          // set aside, latest first
    // The done tasks in one pass, latest first: those done on the day of
    // `day` (as completed()) and the first `othersLimit` of the rest (as
    // completedBefore()). Each task's day is worked out once.
    struct DoneByDay
    {
        QList<LocalTask> onDay;
        QList<LocalTask> others;
    };
    DoneByDay completedByDay(const QDateTime &day, qsizetype othersLimit,
                             const QTimeZone &zone = QTimeZone::systemTimeZone()) const;
    // The first `limit` tasks of setAside(), without ordering the rest.
    QList<LocalTask> latestSetAside(qsizetype limit) const;
    std::optional<LocalTask> task(const QUuid &id) const;
    // The start of the latest day in the task's doneDays (local time).
    static std::optional<QDateTime> lastDoneDay(const LocalTask &task);

    // A new task with the trimmed title; nothing when the title is blank.
    std::optional<LocalTask> add(const QString &title, const std::optional<QDateTime> &due = std::nullopt);
    // Copies rows of another source into local tasks that remember their
    // origin. A row whose reference is already the origin of a stored task
    // (deleted, done or set aside included), or of a row adopted earlier in
    // the same call, is skipped. Saves once when anything was made.
    QList<LocalTask> adopt(const QList<TodoItem> &rows, const QDateTime &now);

    void rename(const QUuid &id, const QString &title); // a blank title changes nothing
    void setDue(const QUuid &id, const std::optional<QDateTime> &due);
    void complete(const QUuid &id, const QDateTime &at);
    void setAside(const QUuid &id, const QDateTime &at);
    void revive(const QUuid &id);
    void markReviewed(const QUuid &id, const QDateTime &at);
    void deleteTask(const QUuid &id, const QDateTime &at);
    void setNotes(const QUuid &id, const QString &userText);
    void appendProgress(const TaskProgress &progress, const QUuid &id);
    void setDaily(const QUuid &id, bool daily);
    void setOccasional(const QUuid &id, bool occasional);
    // Toggles the day (its local "yyyy-MM-dd" key) in doneDays.
    void markDone(const QUuid &id, const QDateTime &day);
    // Gives each listed task its position in the list as its manual order;
    // only tasks whose position changed get a new orderedAt. Always saves.
    void reorder(const QList<QUuid> &ids);

protected:
    QByteArray encodedContent() override;
    Encoding backgroundEncoding() override;

private:
    enum class Stamp { now, none };
    qsizetype indexOf(const QUuid &id) const;
    // Applies the change to the first stored task with the id, stamps
    // updatedAt with the clock when asked, and saves.
    void change(const QUuid &id, Stamp stamp, const std::function<void(LocalTask &)> &apply);
    QList<LocalTask> live(const std::function<bool(const LocalTask &)> &keep) const;

    QList<LocalTask> m_tasks;
    EncodedList<LocalTask> m_encoded;
};
