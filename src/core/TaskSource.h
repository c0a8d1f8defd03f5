#pragma once

#include "core/Models.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// The row that task sources hand to the screens; never stored.
struct TodoItem
{
    TaskRef ref;
    QString title;
    QString listName;
    std::optional<QDateTime> due;
    std::optional<QString> notes;
    std::optional<int> estimateMinutes;
    bool isSomeday = false;
    std::optional<QDateTime> createdAt;
    std::optional<double> order;

    bool operator==(const TodoItem &) const = default;
};

// What is written back into a task after focus rounds: the totals of one day.
struct TaskProgress
{
    QDateTime day;
    int sessions = 0;
    int minutes = 0;

    bool operator==(const TaskProgress &) const = default;
};

// A source of tasks (the local list, reminders). Operations are asynchronous:
// each reports through its callback on the main thread, possibly before it
// returns when the source is local. Writes report false on failure.
class TaskSource : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(bool ok)>;
    using Rows = std::function<void(QList<TodoItem>)>;

    explicit TaskSource(QObject *parent = nullptr)
        : QObject(parent)
    {
    }

    // "local" or "reminders": what goes into TaskRef::source.
    virtual QString sourceID() const = 0;
    // The source's name for the interface, already through L.
    virtual QString displayName() const = 0;
    // Whether the source may be read and written now.
    virtual bool isAuthorized() const = 0;

    // The open tasks, at most limit of them.
    virtual void openTasks(int limit, Rows done) = 0;
    // Merges the progress line into the task's notes.
    virtual void logProgress(const TaskProgress &progress, const TaskRef &ref, Done done) = 0;
    // Marks the task done.
    virtual void complete(const TaskRef &ref, Done done) = 0;
    // Replaces the user's part of the notes, keeping the progress lines.
    virtual void setNotes(const QString &text, const TaskRef &ref, Done done) = 0;
};

// The progress lines kept inside a task's notes:
// "⏱ 2025-03-04 集中3回 75分（Quillmere）", one per day, after the user's text.
namespace ProgressNote {
QString line(const TaskProgress &progress);
// "yyyy-MM-dd" of the instant in the local time zone.
QString dayString(const QDateTime &date);
// The notes with the day's line replaced in place, or appended.
QString merged(const std::optional<QString> &notes, const TaskProgress &progress);
// The part of the notes the user wrote (every "⏱" line removed), trimmed.
QString userText(const std::optional<QString> &notes);
// The new user text followed by the notes' progress lines; nothing when empty.
std::optional<QString> replacingUserText(const QString &text, const std::optional<QString> &notes);
} // namespace ProgressNote
