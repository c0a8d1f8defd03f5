#pragma once

#include "core/Models.h"
#include "stores/DayPlan.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

struct DayDeed;

// A calendar event as seen on one day, in minutes from the day's midnight.
struct DayEvent
{
    QString id;
    QString title;
    int startMinutes = 0; // negative when the event began the day before
    int minutes = 0;
    QString calendarName;
    QString notes;
    bool isAllDay = false;

    bool operator==(const DayEvent &) const = default;

    // Every event the program writes carries its display name in the notes.
    static const QString &ownMark();
    // Plan events carry this too.
    static const QString &planNote();
    // Marks a round that was stopped before its end.
    static const QString &unfinishedMark();
    // Whether the text opens with one of the glyphs of the program's own titles.
    static bool startsWithOwnGlyph(const QString &title);

    // The same UUID for the same event identifier on every run and machine.
    static QUuid stableID(const QString &eventID);
    // The title without the glyph the program put in front of it.
    static QString plainTitle(const QString &title);
    // The events of `day` that are not the program's own rounds and plans.
    // `plans` are the day's plans. A round copy is recognised by a written
    // record that starts within a minute of it on the same day's wall clock.
    static QList<DayEvent> withoutOwn(const QList<DayEvent> &events, const QList<SessionRecord> &records,
                                      const QList<DayPlan> &plans, const QDate &day);
    // Deeds for the program's round events of `day` that no local record
    // accounts for (no written record within a minute of it on that day).
    static QList<DayDeed> recordCopies(const QList<DayEvent> &events, const QList<SessionRecord> &records,
                                       const QDate &day);
};

// A finished or hand-written round shown on the day page.
struct DayDeed
{
    QUuid id;
    QString title;
    int startMinutes = 0;
    int minutes = 1;
    bool completed = false;
    bool fromCalendar = false;
    bool editable = false;

    bool operator==(const DayDeed &) const = default;

    // The live focus records of the day (local time) as deeds.
    static QList<DayDeed> deeds(const QList<SessionRecord> &records, const QDate &day);
};

// Free-time arithmetic of one hour row of the day page.
namespace DayLine {
struct Opening
{
    int start = 0;
    int minutes = 0;
    bool operator==(const Opening &) const = default;
};
struct Span
{
    double from = 0;
    double to = 0;
    bool operator==(const Span &) const = default;
};

bool isBusy(int slot, const QList<DayEvent> &events, const QList<DayPlan> &plans);
// The first free stretch beginning in the row at or after `from`, at least `least` long.
std::optional<Opening> opening(int slot, const QList<DayEvent> &events, const QList<DayPlan> &plans, int from,
                               int least);
// The parts of spans (fractions of the hour) in the upper or lower half, as fractions of that half.
QList<Span> inHalf(const QList<Span> &spans, bool upper);
} // namespace DayLine
