#pragma once

#include "platform/calendar/CalendarStore.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <optional>

// One calendar file: a VCALENDAR holding items, each a VEVENT or VTODO
// known by its UID, together with the recurrence overrides that share the
// UID. The program writes one item per file; files from elsewhere may hold
// several, and every one of them is read. Reads give local date-times; edits
// change the parsed components in place, so every property the program does
// not set (X- properties, alarms, attendees, unknown properties) is written
// back as read.
class IcalDocument
{
public:
    enum class Kind { Event, Todo };

    // The files are read by libical, in a module of its own
    // (libquillmere_calendar.so) that is loaded when a file is first read or
    // made, not at start (see CalendarModule). Without the module no file
    // reads and none is made.

    // Nothing when the bytes hold no calendar with an event or to-do. A file
    // of several calendars is read as one (see isJoined()).
    static std::unique_ptr<IcalDocument> parse(const QByteArray &bytes);
    // The same, to be read only: what the readers below give is kept and the
    // parsed components are let go (they take about seven times the memory;
    // a repeating series in a zone the file defines keeps them, as reading it
    // walks that zone). A document let go of gives no firstEvent() and
    // cannot be changed or serialized; edit a fresh parse of the file.
    static std::unique_ptr<IcalDocument> parseForReading(const QByteArray &bytes);
    // Less again, for a file whose events are read only now and then: the
    // file's items, its to-dos and the span of its events are kept, and the
    // events themselves are let go unless one repeats (keepsEvents() says
    // which); a reading of a range then reads the file again.
    static std::unique_ptr<IcalDocument> parseForIndex(const QByteArray &bytes);
    // A new, empty item with this UID, stamped with now; null without the module.
    static std::unique_ptr<IcalDocument> create(Kind kind, const QString &uid, const QDateTime &now);

    IcalDocument() = default;
    IcalDocument(const IcalDocument &) = delete;
    IcalDocument &operator=(const IcalDocument &) = delete;
    virtual ~IcalDocument() = default;

    virtual bool keepsEvents() const = 0;
    virtual bool canEdit() const = 0;
    virtual QByteArray serialize() const = 0;

    // The items, in the order the file first names them.
    virtual QStringList uids() const = 0;
    virtual std::optional<Kind> kindOf(const QString &uid) const = 0;
    // Whether the file holds to-dos and no events: a file of a reminders list.
    virtual bool isTodoFile() const = 0;
    // The events and to-dos the file holds but that cannot be told apart (no
    // UID, or a UID another item of the file already has), by their titles
    // (empty where they have none). They are not read.
    virtual QStringList unidentified() const = 0;
    // Whether the file held several calendars, joined here into one; such a
    // file is only read, never written back.
    virtual bool isJoined() const = 0;

    virtual bool isRecurring(const QString &uid) const = 0;

    // What one reading may still take and walk: occurrences given, and steps
    // of the rules' walks (see RecurrenceRule). A reading over many files
    // shares one between them.
    struct ReadShare
    {
        qsizetype occurrences = 0;
        qint64 steps = 0;
    };
    // Events: the occurrences of the event items that overlap [from, to),
    // recurrences expanded, by start.
    // Calendar fields are left empty. A reading is bounded for each day of
    // the range: each item gives at most kMostPerItemPerDay occurrences (its
    // first ones in the range) and the file at most kMostPerFilePerDay, over
    // at most kFileStepsPerDay steps; items after the file's share is spent
    // give none. With `share`, the reading also takes no more than it holds,
    // and what it took is subtracted.
    virtual QList<CalendarEvent> occurrences(const QDateTime &from, const QDateTime &to,
                                             ReadShare *share = nullptr) const = 0;
    // The instants (ms since the epoch) from the start of the earliest to the
    // end of the latest occurrence of the file's events, so that
    // occurrences() finds nothing in a range that does not touch them; first
    // after second when there is no event. Nothing when an event repeats: its
    // occurrences are known only by expanding it for a range.
    virtual std::optional<std::pair<qint64, qint64>> eventSpan() const = 0;
    // An event item as written (its first occurrence).
    virtual std::optional<CalendarEvent> firstEvent(const QString &uid) const = 0;
    // Writes title, notes, times, all-day and availability. An event with an
    // occurrence date of a repeating series changes that occurrence only.
    virtual void applyEvent(const QString &uid, const CalendarEvent &event, const QDateTime &now) = 0;
    // Drops one occurrence of a repeating series; false when the item does
    // not repeat.
    virtual bool removeOccurrence(const QString &uid, const QDateTime &occurrenceDate, const QDateTime &now) = 0;
    // Drops the item and its overrides from the file.
    virtual void removeItem(const QString &uid) = 0;

    // To-dos: the reminders of every to-do item (list fields left empty).
    virtual QList<Reminder> reminders() const = 0;
    virtual std::optional<Reminder> reminder(const QString &uid) const = 0;
    virtual bool isCancelled(const QString &uid) const = 0;
    // Writes title, notes, due date and completion where they differ.
    virtual void applyReminder(const QString &uid, const Reminder &reminder, const QDateTime &now) = 0;

    // Longest repetition rules: at most this many RRULEs of one item count,
    // and one reading of an item walks its rules for at most this many steps
    // (see RecurrenceRule), so a hostile or careless file cannot hold up a
    // reader.
    static constexpr int kMaxRules = 4;
    static constexpr qint64 kReadBudget = 10000;
    // A rule with a count is counted out once, when the file is read, within
    // this many steps.
    static constexpr qint64 kCountBudget = 200000;
    // The bounds of a reading, per day of its range: one occurrence every
    // quarter of an hour from one item, 300 from one file, and the steps
    // that a few items repeating every minute take.
    static constexpr qsizetype kMostPerItemPerDay = 96;
    static constexpr qsizetype kMostPerFilePerDay = 300;
    static constexpr qint64 kFileStepsPerDay = 20000;
    // The number of days a reading of [from, to) is bounded for (at least one).
    static qint64 daysOf(const QDateTime &from, const QDateTime &to)
    {
        constexpr qint64 kDayMs = 86'400'000;
        return std::max<qint64>(1, (from.msecsTo(to) + kDayMs - 1) / kDayMs);
    }
};
