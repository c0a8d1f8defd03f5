#pragma once

#include "platform/calendar/CalendarStore.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>

typedef struct icalcomponent_impl icalcomponent;

// One calendar item file: a VCALENDAR holding one VEVENT or VTODO with its
// recurrence overrides. Reads give local date-times; edits change the parsed
// components in place, so every property the program does not set (X-
// properties, alarms, attendees, unknown properties) is written back as read.
class IcalDocument
{
public:
    enum class Kind { Event, Todo };

    // Nothing when the bytes hold no calendar with an event or to-do.
    static std::optional<IcalDocument> parse(const QByteArray &bytes);
    // A new, empty item with this UID, stamped with now.
    static IcalDocument create(Kind kind, const QString &uid, const QDateTime &now);

    IcalDocument(IcalDocument &&other) noexcept;
    IcalDocument &operator=(IcalDocument &&other) noexcept;
    IcalDocument(const IcalDocument &) = delete;
    IcalDocument &operator=(const IcalDocument &) = delete;
    ~IcalDocument();

    QByteArray serialize() const;
    Kind kind() const { return m_kind; }
    QString uid() const;
    bool isRecurring() const;

    // Events: every occurrence that overlaps [from, to), recurrences expanded.
    // Calendar fields are left empty.
    QList<CalendarEvent> occurrences(const QDateTime &from, const QDateTime &to) const;
    // Events: the item as written (its first occurrence).
    std::optional<CalendarEvent> firstEvent() const;
    // Writes title, notes, times, all-day and availability. An event with an
    // occurrence date of a repeating series changes that occurrence only.
    void applyEvent(const CalendarEvent &event, const QDateTime &now);
    // Drops one occurrence of a repeating series; false when the item does
    // not repeat.
    bool removeOccurrence(const QDateTime &occurrenceDate, const QDateTime &now);

    // To-dos: the reminder (list fields left empty), and whether it was cancelled.
    std::optional<Reminder> reminder() const;
    bool isCancelled() const;
    // Writes title, notes, due date and completion where they differ.
    void applyReminder(const Reminder &reminder, const QDateTime &now);

private:
    IcalDocument(icalcomponent *calendar, Kind kind);
    icalcomponent *master() const;
    icalcomponent *overrideFor(const QDateTime &occurrenceDate) const;

    icalcomponent *m_cal = nullptr;
    Kind m_kind = Kind::Event;
};
