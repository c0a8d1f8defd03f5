#pragma once

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>

// Access to the user's calendars and reminder lists. The raw values are the
// ones the settings screens and the synced state know: 0 not determined,
// 1 restricted, 2 denied, 3 full access, 4 write only.
enum class CalendarAccess {
    NotDetermined = 0,
    Restricted = 1,
    Denied = 2,
    FullAccess = 3,
    WriteOnly = 4,
};

// A collection holds either events (a calendar) or reminders (a list).
enum class CollectionKind {
    Events,
    Reminders,
};

enum class EventAvailability {
    Busy,
    Free, // shown as free time (TRANSP:TRANSPARENT)
};

// One calendar or reminders list.
struct CalendarInfo
{
    QString id;           // stable for the life of the collection on this device
    QString title;        // the collection's display name
    QColor color;         // invalid when the collection has no colour
    QString accountTitle; // the title of the account (source) it belongs to
    QString accountId;    // the account folder
    CollectionKind kind = CollectionKind::Events;
    bool writable = false; // allows content modifications
    bool supportsFreeAvailability = true;

    bool operator==(const CalendarInfo &) const = default;
};

// One occurrence of an event. Times are local date-times; an all-day event
// runs from midnight of its first day to midnight after its last day.
struct CalendarEvent
{
    QString id;            // the item identifier (its UID); shared by all occurrences of a series
    QString calendarId;    // where it lives; for a new event, where to write it
    QString calendarTitle; // filled on read
    QColor calendarColor;  // filled on read
    QString title;         // empty when the event has none
    QString notes;         // empty when the event has none
    QDateTime start;
    QDateTime end;
    bool allDay = false;
    EventAvailability availability = EventAvailability::Busy;
    // For an occurrence of a repeating event: true, and the start the
    // occurrence had in the series before any move (its recurrence id).
    bool recurring = false;
    QDateTime occurrenceDate;

    bool operator==(const CalendarEvent &) const = default;
};
// Its members all move in memory as they are, so lists of events grow
// without copying them one by one.
Q_DECLARE_TYPEINFO(CalendarEvent, Q_RELOCATABLE_TYPE);

// Orders events by start, keeping the order of equal starts.
inline void sortByStart(QList<CalendarEvent> &events)
{
    // Each start is turned into an instant once: comparing local date-times
    // asks the C library for the local offset every time.
    QList<qint64> keys;
    keys.reserve(events.size());
    for (const CalendarEvent &e : std::as_const(events))
        keys.append(e.start.isValid() ? e.start.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min());
    if (std::is_sorted(keys.begin(), keys.end()))
        return;
    QList<qsizetype> order(events.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return keys[a] < keys[b]; });
    QList<CalendarEvent> sorted;
    sorted.reserve(events.size());
    for (qsizetype i : std::as_const(order))
        sorted.append(std::move(events[i]));
    events = std::move(sorted);
}


// One reminder (a to-do item).
struct Reminder
{
    QString id;        // the item identifier (its UID)
    QString listId;    // its list; for a new reminder, where to write it
    QString listTitle; // filled on read
    QString title;     // empty when the reminder has none
    QString notes;
    // The due date: a local date-time, or a day (at local midnight) when
    // dueIsDate is true; invalid when the reminder has none.
    QDateTime due;
    bool dueIsDate = false;
    QDateTime createdAt; // invalid when unknown
    bool completed = false;
    QDateTime completedAt; // invalid when not completed or unknown

    bool operator==(const Reminder &) const = default;
};

// An item the store could not read. It is not shown, and its file is left as
// it is for the tool that syncs the folder.
struct UnreadableItem
{
    enum class Reason {
        CannotOpen,  // the file cannot be opened
        NotCalendar, // the file holds no event or to-do the program understands
        NoUid,       // an event or to-do without a UID of its own, so it cannot be told apart
    };
    QString path;          // its file
    QString calendarTitle; // the calendar or list the file lies in
    QString title;         // the item's own title, where one could be read
    Reason reason = Reason::NotCalendar;

    bool operator==(const UnreadableItem &) const = default;
};

// The program's door to calendars and reminders. Everything runs on the main
// thread; reads are synchronous. Reads without full access return nothing;
// writes without full access fail.
class CalendarStore : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Full access when at least one account folder is readable and writable.
    virtual CalendarAccess authorization() const = 0;
    // Makes sure full access is held, setting up the default account when
    // there is none. Returns whether full access is held afterwards; on
    // failure error (when given) says why.
    virtual bool requestAccess(QString *error = nullptr) = 0;

    // The account folders, in the user's order.
    virtual QStringList accountFolders() const = 0;
    // Adds a folder the user picked as an account (kept if already listed).
    virtual bool addAccountFolder(const QString &path, QString *error = nullptr) = 0;

    // Collections of one kind, in store order (accounts in order, collections
    // by folder name).
    virtual QList<CalendarInfo> calendars(CollectionKind kind) const = 0;
    virtual std::optional<CalendarInfo> calendar(const QString &id) const = 0;
    // The first writable calendar in store order, if any.
    virtual std::optional<CalendarInfo> defaultCalendarForNewEvents() const = 0;

    // The occurrences that overlap [from, to) in the given calendars (all
    // calendars when calendarIds is empty), ordered by start (stable).
    virtual QList<CalendarEvent> events(const QDateTime &from, const QDateTime &to,
                                        const QStringList &calendarIds) const = 0;
    // The events of one local day: from its midnight to the next midnight by
    // the wall clock, so a day with a daylight-saving change is 23 or 25 hours.
    QList<CalendarEvent> eventsOnDay(const QDate &day, const QStringList &calendarIds) const;

    // One reading of events as work that may run on any thread: made here,
    // on the store's thread, from what the store holds now; called, it gives
    // what events() gives for the same range and touches nothing of the
    // store. The store answers a reading it makes at once (the default) or,
    // where readsWhenCalled(), does the work when the reading is called, so
    // a caller that must not wait can call it on a worker.
    using EventsReading = std::function<QList<CalendarEvent>()>;
    virtual EventsReading eventsReading(const QDateTime &from, const QDateTime &to,
                                        const QStringList &calendarIds) const;
    EventsReading eventsReadingOnDay(const QDate &day, const QStringList &calendarIds) const;
    virtual bool readsWhenCalled() const { return false; }
    // The event with this identifier (the first occurrence of a series).
    virtual std::optional<CalendarEvent> event(const QString &id) const = 0;

    // Writes an event. An empty id makes a new event in calendarId;
    // otherwise the stored event is edited in place (title, notes, start,
    // end, all-day, availability; every other property is kept). Saving an
    // occurrence of a repeating event changes that occurrence only. Returns
    // the event identifier, or nothing on failure.
    virtual std::optional<QString> saveEvent(const CalendarEvent &event, QString *error = nullptr) = 0;
    // Removes an event. With an occurrence date of a repeating event, only
    // that occurrence goes; otherwise the whole item. False when nothing was
    // found or the removal failed.
    virtual bool removeEvent(const QString &id, const QDateTime &occurrenceDate = {},
                             QString *error = nullptr) = 0;

    // Reminders that are not completed in the given lists (all lists when
    // listIds is empty), in store order.
    virtual QList<Reminder> incompleteReminders(const QStringList &listIds = {}) const = 0;
    virtual std::optional<Reminder> reminder(const QString &id) const = 0;
    // Writes a reminder. An empty id makes a new one in listId; otherwise the
    // stored reminder is edited in place (title, notes, due date, completion;
    // every other property is kept). Returns the identifier or nothing.
    virtual std::optional<QString> saveReminder(const Reminder &reminder, QString *error = nullptr) = 0;
    // Marks a reminder completed now.
    bool completeReminder(const QString &id, QString *error = nullptr);

    // The items in the calendars and lists that could not be read, each
    // named once, in store order; nothing without full access.
    virtual QList<UnreadableItem> unreadableItems() const { return {}; }

    // Whether the calendars are still being read for the first time away from
    // the main thread. Every call still answers in full (reading what it
    // needs); a reader that must not keep the window waiting, such as the
    // day page, may skip the calendars until changed() says they are read.
    virtual bool isLoading() const { return false; }
    // Starts that first reading away from the main thread, where the store
    // can; stores that answer at once do nothing.
    virtual void loadInBackground() {}
    // Reads nothing now: the first question about the collections, events or
    // reminders starts that reading (and is answered as while it runs), so a
    // user who never looks at a calendar never has one read. Stores that
    // answer at once do nothing.
    virtual void loadWhenFirstAsked() {}
    // Whether that first reading waits to be asked for.
    virtual bool isReadingPutOff() const { return false; }

signals:
    // Something in the calendars or reminders changed (debounced).
    void changed();
};
