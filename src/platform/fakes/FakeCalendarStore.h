#pragma once

#include "platform/calendar/CalendarStore.h"

// An in-memory calendar store for tests of the code that uses calendars and
// reminders. Events are stored as single occurrences (no repetition); writes
// report changed() at once. Access, the answer to requestAccess() and write
// failures are set by the test.
class FakeCalendarStore : public CalendarStore
{
    Q_OBJECT
public:
    using CalendarStore::CalendarStore;

    // ---- set up by tests
    void setAuthorization(CalendarAccess access) { m_access = access; }
    // What requestAccess() does when access is not held: grant it, or not.
    void setGrantsAccess(bool grants) { m_grants = grants; }
    // Every later write fails with this text (empty: writes succeed).
    void setWriteError(const QString &error) { m_writeError = error; }
    void addCalendar(const CalendarInfo &info) { m_calendars.append(info); }
    // Adds an event as stored; an empty id gets a fresh one. Returns the id.
    QString addEvent(const CalendarEvent &event);
    QString addReminder(const Reminder &reminder);
    // Everything stored, completed reminders included.
    const QList<CalendarEvent> &storedEvents() const { return m_events; }
    const QList<Reminder> &storedReminders() const { return m_reminders; }
    int requestCount() const { return m_requests; }

    // ---- CalendarStore
    CalendarAccess authorization() const override { return m_access; }
    bool requestAccess(QString *error = nullptr) override;
    QStringList accountFolders() const override { return m_accounts; }
    bool addAccountFolder(const QString &path, QString *error = nullptr) override;

    QList<CalendarInfo> calendars(CollectionKind kind) const override;
    std::optional<CalendarInfo> calendar(const QString &id) const override;
    std::optional<CalendarInfo> defaultCalendarForNewEvents() const override;

    QList<CalendarEvent> events(const QDateTime &from, const QDateTime &to,
                                const QStringList &calendarIds) const override;
    std::optional<CalendarEvent> event(const QString &id) const override;
    std::optional<QString> saveEvent(const CalendarEvent &event, QString *error = nullptr) override;
    bool removeEvent(const QString &id, const QDateTime &occurrenceDate = {}, QString *error = nullptr) override;

    QList<Reminder> incompleteReminders(const QStringList &listIds = {}) const override;
    std::optional<Reminder> reminder(const QString &id) const override;
    std::optional<QString> saveReminder(const Reminder &reminder, QString *error = nullptr) override;

private:
    bool hasAccess() const { return m_access == CalendarAccess::FullAccess; }
    bool canWrite(const QString &collectionId, CollectionKind kind, QString *error) const;
    void fillCollection(CalendarEvent &event) const;
    void fillCollection(Reminder &reminder) const;

    CalendarAccess m_access = CalendarAccess::FullAccess;
    bool m_grants = true;
    int m_requests = 0;
    QString m_writeError;
    QStringList m_accounts;
    QList<CalendarInfo> m_calendars;
    QList<CalendarEvent> m_events;
    QList<Reminder> m_reminders;
};
