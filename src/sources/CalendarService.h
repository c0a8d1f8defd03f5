#pragma once

#include "core/Models.h"
#include "platform/calendar/CalendarStore.h"
#include "stores/DayEvent.h"
#include "stores/DayPlan.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

// The program's one door to the user's calendars: access, a day's events as
// the day page sees them, the calendars by account, and rounds and plans
// written as events in the form DayEvent recognises again (the glyph opening
// the title, the display name in the notes). Everything but requestAccess()
// needs full access: without it readers give nothing and writers write
// nothing. Failures are reported through lastError only.
class CalendarService : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CalendarAccess authorization READ authorization NOTIFY authorizationChanged)
    Q_PROPERTY(QString lastError READ lastError NOTIFY lastErrorChanged)
public:
    // The calendars of one account (source).
    struct CalendarGroup
    {
        QString source;
        QList<CalendarInfo> calendars;
        bool operator==(const CalendarGroup &) const = default;
    };

    // Over the iCalendar folders of the standard preferences, owned.
    explicit CalendarService(QObject *parent = nullptr);
    // Over the given store (not owned), e.g. an in-memory one in tests.
    explicit CalendarService(CalendarStore *store, QObject *parent = nullptr);

    CalendarStore *store() const { return m_store; }
    CalendarAccess authorization() const { return m_authorization; }
    // The last failure text for the user; null when there is none.
    QString lastError() const { return m_lastError; }

    // Makes sure full access is held (setting up the default account when
    // there is none). Returns whether it is.
    bool requestAccess();
    // Re-reads the access as it stands, creating nothing (for a screen that
    // shows it: access may have been given or taken away meanwhile).
    // authorizationChanged is emitted only when it differs.
    CalendarAccess refreshAuthorization();

    // The events of the shown calendars (all calendars when `showing` is empty
    // or names none that exist) that overlap the local day, earliest first,
    // with times on the day's wall clock; nothing is clipped to the day.
    // Nothing while the store is still first reading the calendars (its
    // changed() tells when to ask again).
    QList<DayEvent> events(const QDate &day, const QStringList &showing) const;
    // The same events, given to `done` on context's thread: read on a worker
    // where the store expands its items then (its calendars may hold many
    // repeating items), so the caller's thread does not wait; at once, within
    // the call, where the store answers at once. Nothing reaches `done` once
    // context is gone.
    void readEvents(const QDate &day, const QStringList &showing, QObject *context,
                    std::function<void(const QList<DayEvent> &)> done) const;

    QList<CalendarGroup> allCalendarsBySource() const;
    QList<CalendarGroup> writableCalendarsBySource() const;
    std::optional<QString> title(const std::optional<QString> &calendarID) const;
    // The first writable calendar with exactly this title, in store order.
    std::optional<QString> writableIdentifier(const QString &name) const;

    // Writes a finished round into the calendar (the default calendar when the
    // identifier is missing or stale; nothing into a read-only one). Returns
    // the new event's identifier.
    std::optional<QString> write(const SessionRecord &record, const std::optional<QString> &calendarID,
                                 bool showsTitle);
    // Writes a timed plan into the given calendar, at its wall-clock times of
    // the day. No fallback calendar; lastError is set only by a failed save.
    std::optional<QString> writePlan(const DayPlan &plan, const QDate &day, const std::optional<QString> &calendarID);
    // Removes the event, if there is one; failures are silent.
    void remove(const QString &eventID);

    // The items in the user's calendars and lists that could not be read (no
    // UID, not a calendar file, not readable), each named once, for the
    // calendar section of the settings; nothing without full access. The
    // store's changed() signal tells when to ask again.
    QList<UnreadableItem> unreadableItems() const;

    // "◯ title" for a focus round ("· " and "‥ " for breaks); without titles
    // the phase word in the interface language.
    static QString eventTitle(const SessionRecord &record, bool showsTitle);
    // The phase word and length ("味わう 25分"), "（途中で終了）" for a round
    // stopped early, and the display name, one per line.
    static QString eventNotes(const SessionRecord &record);
    // The id of the first (id, title) pair whose title equals the name.
    static std::optional<QString> pick(const QString &name, const QList<std::pair<QString, QString>> &among);

    static inline const QString kPlanGlyph = QStringLiteral("○");

signals:
    void authorizationChanged();
    void lastErrorChanged();

private:
    bool hasAccess() const { return m_authorization == CalendarAccess::FullAccess; }
    void setAuthorization(CalendarAccess access);
    void setLastError(const QString &error);
    std::optional<CalendarInfo> eventCalendar(const std::optional<QString> &id) const;
    QList<CalendarGroup> bySource(bool writableOnly) const;
    std::optional<QString> save(const CalendarEvent &event);

    QPointer<CalendarStore> m_store;
    CalendarAccess m_authorization = CalendarAccess::NotDetermined;
    QString m_lastError;
};
