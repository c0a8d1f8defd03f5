#pragma once

#include "core/TaskSource.h"

#include <QList>
#include <QUuid>
#include <optional>

class LocalTaskStore;
struct LocalTask;

// The program's own task list as a task source: local tasks become rows, and
// progress, completion and note edits go to the store. Every operation
// completes before it returns.
class LocalTaskSource : public TaskSource
{
    Q_OBJECT
public:
    static inline const QString kSourceID = QStringLiteral("local");

    // The store is not owned and must outlive the source.
    explicit LocalTaskSource(LocalTaskStore &store, QObject *parent = nullptr);

    LocalTaskStore &store() const { return m_store; }

    // The open tasks (not done, not set aside, not daily) in task order.
    QList<TodoItem> items() const;
    // The practices of the shelf, in the store's order.
    QList<TodoItem> dailyItems() const;

    // The row of a local task.
    static TodoItem row(const LocalTask &task);
    // The id of a local task's reference: nothing for another source's
    // reference or an id that is not a UUID.
    static std::optional<QUuid> localId(const TaskRef &ref);

    QString sourceID() const override { return kSourceID; }
    QString displayName() const override;
    bool isAuthorized() const override { return true; }
    void openTasks(int limit, Rows done) override;
    // The writes report false for another source's reference, an id that is
    // not a UUID, or an id that no live task has.
    void logProgress(const TaskProgress &progress, const TaskRef &ref, Done done) override;
    // A daily practice is ticked for today (never unticked); any other task is
    // closed now.
    void complete(const TaskRef &ref, Done done) override;
    void setNotes(const QString &text, const TaskRef &ref, Done done) override;

private:
    // The id of a live stored task the reference names.
    std::optional<QUuid> existing(const TaskRef &ref) const;

    LocalTaskStore &m_store;
};
