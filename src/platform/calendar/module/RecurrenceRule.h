#pragma once

#include <QDate>
#include <QList>
#include <QTime>
#include <limits>
#include <optional>

struct icalrecurrencetype;

// One repetition rule of a calendar item (an RRULE), expanded on the wall
// clock of the item's start. Every time here is a count of wall-clock seconds
// (see wall()): free of time zones and daylight saving, which the caller
// applies to each start afterwards.
//
// Expansion walks the rule one period at a time (a year, a month, a week, a
// day, an hour, a minute or a second, by its frequency), jumps straight to the
// period that holds the first time asked for, and stops after the budget of
// steps it is given, so no rule, however it is written, keeps a reader busy.
// A step is one period, one day or one start looked at.
class RecurrenceRule
{
public:
    enum class Frequency { Secondly, Minutely, Hourly, Daily, Weekly, Monthly, Yearly };

    // One BYDAY entry: the day of the week (1 Monday … 7 Sunday) and, in a
    // monthly or yearly rule, which one of the month or year (1 the first,
    // -1 the last; 0 every one).
    struct Weekday
    {
        int day = 1;
        int ordinal = 0;
        bool operator==(const Weekday &) const = default;
    };

    static constexpr qint64 kNoEnd = std::numeric_limits<qint64>::max();

    Frequency frequency = Frequency::Daily;
    int interval = 1;
    int count = 0;         // starts counted from the series start; 0: no count
    qint64 until = kNoEnd; // the last possible start, inclusive
    int weekStart = 1;     // the day weeks begin on, 1 Monday … 7 Sunday
    QList<int> months;      // 1 … 12
    QList<int> weekNumbers; // ±1 … 53, yearly rules only
    QList<int> yearDays;    // ±1 … 366
    QList<int> monthDays;   // ±1 … 31
    QList<Weekday> weekdays;
    QList<int> hours;        // 0 … 23
    QList<int> minutes;      // 0 … 59
    QList<int> seconds;      // 0 … 59
    QList<int> setPositions; // ±1 … 366: which of each period's starts count

    // The rule libical read, without its end: UNTIL is a time in the zone of
    // the series, which the caller converts and sets. Nothing for a rule
    // without a frequency (libical reads an unreadable rule so).
    static std::optional<RecurrenceRule> fromIcal(const icalrecurrencetype &rule);

    // Wall-clock seconds of a date and time: the Julian day times 86,400
    // plus the seconds of the day.
    static qint64 wall(const QDate &date, const QTime &time = QTime(0, 0));
    static QDate dateOf(qint64 wall);
    static QTime timeOf(qint64 wall);

    // Whether the rule can be expanded for a series that starts on a date
    // (allDay) or at a time: the parts the frequency does not allow (a week
    // number outside yearly rules, a day of the year in daily, weekly or
    // monthly ones, a day of the month in weekly ones) and times of day in a
    // rule finer than a day for a series of whole days make it unusable.
    bool isUsable(bool allDay) const;

    struct Walk
    {
        QList<qint64> starts; // ascending
        qint64 steps = 0;
        bool cut = false; // the budget ran out before the walk was done
    };
    // The starts the rule gives a series beginning at `start` (which itself
    // counts only where the rule gives it) that lie in [from, to].
    Walk starts(qint64 start, bool allDay, qint64 from, qint64 to, qint64 budget) const;

    // The same rule with its count turned into an end: the start the count
    // reaches becomes `until`, so a later walk can jump near the times it is
    // asked for instead of counting from the series start. When the budget
    // runs out first, the series ends with the last start found.
    RecurrenceRule counted(qint64 start, bool allDay, qint64 budget) const;

    // Steps taken by every walk so far in this process, for measurement.
    static quint64 totalSteps();
};
