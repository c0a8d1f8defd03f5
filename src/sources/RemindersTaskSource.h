#pragma once

#include "core/TaskSource.h"
#include "platform/calendar/CalendarStore.h"

#include <QString>
#include <functional>
#include <optional>

// The user's reminders (to-dos in the calendar folders) as a task source.
// Incomplete reminders become rows; progress lines and note edits go into
// their notes and completion marks them done. It works only with full access.
// Every operation completes before it returns.
class RemindersTaskSource : public TaskSource
{
    Q_OBJECT
    Q_PROPERTY(CalendarAccess authorization READ authorization WRITE setAuthorization NOTIFY authorizationChanged)
    Q_PROPERTY(QString lastError READ lastError NOTIFY lastErrorChanged)

public:
    static inline const QString kSourceID = QStringLiteral("reminders");

    // The store is not owned and must outlive the source. The authorization
    // is read from it at once; no access is asked for.
    explicit RemindersTaskSource(CalendarStore &store, QObject *parent = nullptr);

    CalendarStore &store() const { return m_store; }

    // The last known access to reminders; callers may store a fresh status.
    CalendarAccess authorization() const { return m_authorization; }
    void setAuthorization(CalendarAccess access);
    // The message of the last failed access request or save; empty after a
    // successful save.
    QString lastError() const { return m_lastError; }

    // Makes sure full access is held (setting up the default account when
    // there is none); reports whether it is held afterwards.
    void requestAccess(Done done);

    // The row of a reminder; nothing for a reminder without a title.
    static std::optional<TodoItem> row(const Reminder &reminder);

    QString sourceID() const override { return kSourceID; }
    QString displayName() const override;
    bool isAuthorized() const override { return m_authorization == CalendarAccess::FullAccess; }
    // The most urgent incomplete reminders of every list, in task order.
    void openTasks(int limit, Rows done) override;
    void logProgress(const TaskProgress &progress, const TaskRef &ref, Done done) override;
    void complete(const TaskRef &ref, Done done) override;
    void setNotes(const QString &text, const TaskRef &ref, Done done) override;

signals:
    void authorizationChanged();
    void lastErrorChanged();

private:
    // Applies the change to the reminder the reference names and saves it;
    // false without access, for another source's reference or an unknown id.
    bool edit(const TaskRef &ref, const std::function<void(Reminder &)> &change);
    bool save(const Reminder &reminder);
    void setLastError(const QString &text);

    CalendarStore &m_store;
    CalendarAccess m_authorization = CalendarAccess::NotDetermined;
    QString m_lastError;
};
