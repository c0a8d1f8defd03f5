#include "sources/RemindersTaskSource.h"

#include "core/L.h"
#include "core/PerLanguage.h"
#include "platform/time/Clock.h"
#include "sources/TodoOrder.h"

#include <algorithm>

RemindersTaskSource::RemindersTaskSource(CalendarStore &store, QObject *parent)
    : TaskSource(parent)
    , m_store(store)
    , m_authorization(store.authorization())
{
}

void RemindersTaskSource::setAuthorization(CalendarAccess access)
{
    if (access == m_authorization)
        return;
    m_authorization = access;
    emit authorizationChanged();
}

void RemindersTaskSource::setLastError(const QString &text)
{
    if (text == m_lastError)
        return;
    m_lastError = text;
    emit lastErrorChanged();
}

QString RemindersTaskSource::displayName() const
{
    static PerLanguage<QString> name;
    return name([] { return L("リマインダー"); });
}

void RemindersTaskSource::requestAccess(Done done)
{
    setAuthorization(m_store.authorization());
    if (isAuthorized()) {
        if (done)
            done(true);
        return;
    }
    QString error;
    const bool granted = m_store.requestAccess(&error);
    setAuthorization(m_store.authorization());
    if (!granted && !error.isEmpty())
        setLastError(error);
    else if (!isAuthorized())
        setLastError(L("リマインダーへのアクセスが許可されませんでした。"));
    if (done)
        done(granted && isAuthorized());
}

std::optional<TodoItem> RemindersTaskSource::row(const Reminder &reminder)
{
    if (reminder.title.isEmpty())
        return std::nullopt;
    TodoItem item;
    item.ref = TaskRef{kSourceID, reminder.id,
                       reminder.listId.isEmpty() ? std::nullopt : std::optional<QString>(reminder.listId)};
    item.title = reminder.title;
    // The same word in both languages where a reminder has no list.
    item.listName = reminder.listTitle.isEmpty() ? QStringLiteral("リマインダー") : reminder.listTitle;
    if (reminder.due.isValid())
        item.due = reminder.due;
    if (!reminder.notes.isEmpty())
        item.notes = reminder.notes;
    if (reminder.createdAt.isValid())
        item.createdAt = reminder.createdAt;
    return item;
}

void RemindersTaskSource::openTasks(int limit, Rows done)
{
    QList<TodoItem> rows;
    if (isAuthorized()) {
        for (const Reminder &reminder : m_store.incompleteReminders()) {
            if (std::optional<TodoItem> item = row(reminder))
                rows.append(*item);
        }
        // Cut after sorting, so the rows kept are the most urgent.
        rows = TodoOrder::sorted(rows, Clock::current().now());
        rows = rows.first(std::clamp<qsizetype>(limit, 0, rows.size()));
    }
    if (done)
        done(rows);
}

bool RemindersTaskSource::edit(const TaskRef &ref, const std::function<void(Reminder &)> &change)
{
    if (!isAuthorized() || ref.source != kSourceID)
        return false;
    std::optional<Reminder> reminder = m_store.reminder(ref.id);
    if (!reminder)
        return false;
    change(*reminder);
    return save(*reminder);
}

bool RemindersTaskSource::save(const Reminder &reminder)
{
    QString error;
    if (!m_store.saveReminder(reminder, &error)) {
        setLastError(error.isEmpty() ? QStringLiteral("the reminder could not be saved") : error);
        return false;
    }
    setLastError(QString());
    return true;
}

void RemindersTaskSource::logProgress(const TaskProgress &progress, const TaskRef &ref, Done done)
{
    const bool ok = edit(ref, [&](Reminder &r) {
        r.notes = ProgressNote::merged(r.notes.isEmpty() ? std::nullopt : std::optional<QString>(r.notes), progress);
    });
    if (done)
        done(ok);
}

void RemindersTaskSource::complete(const TaskRef &ref, Done done)
{
    const bool ok = edit(ref, [](Reminder &r) {
        if (!r.completed) {
            r.completed = true;
            r.completedAt = Clock::current().now();
        }
    });
    if (done)
        done(ok);
}

void RemindersTaskSource::setNotes(const QString &text, const TaskRef &ref, Done done)
{
    const bool ok = edit(ref, [&](Reminder &r) {
        const std::optional<QString> notes =
            ProgressNote::replacingUserText(text, r.notes.isEmpty() ? std::nullopt : std::optional<QString>(r.notes));
        r.notes = notes.value_or(QString());
    });
    if (done)
        done(ok);
}
