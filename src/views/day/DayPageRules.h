#pragma once

#include "stores/DayPlan.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class DayNoteStore;

// What the day page shows and decides, apart from any widget.
namespace DayPageRules {

// One line of the standing block: its one-character mark ("心", "標", "朝",
// kept untranslated) and its text.
struct StandingLine
{
    QString mark;
    QString text;
    bool operator==(const StandingLine &) const = default;
};

// The three minds always; the current guide when there is one; the day
// note's morning line when it is not blank.
QList<StandingLine> standing(const QDate &day, const DayNoteStore &days);

// The header title: abbreviated weekday, month and day in the interface
// language's locale (ja_JP or en_US), whatever the system locale.
QString title(const QDate &day, bool japanese);

// The sweep banner's message for today's day of the month.
QString bannerText(int dayOfMonth);

// The hour row the page scrolls to on today: one hour before the current
// one, never before 0.
int scrollHour(int hour);

// Whether a tap on a free stretch opens the picker for a deed: the column's
// own answer on a wide page; on a narrow one a deed on a past day, and on
// today once the hour has ended.
bool placesDeed(std::optional<bool> column, bool pastDay, bool today, int slotEnd, int nowMinute);

// The start the plan editor opens with: the plan's own when it is timed;
// else 9:00 on another day than today; else now rounded up to the half
// hour, never past 23:30.
int planEditorStart(const DayPlan &plan, std::optional<int> now);

// Which card leads by the hour the page was opened at: the morning card
// until 17:00, the evening card from then on.
struct CardLook
{
    bool dimmed = false;
    double fill = 1.0;
    double outline = 1.0;
    bool operator==(const CardLook &) const = default;
};
CardLook morningCard(int openedHour);
CardLook eveningCard(int openedHour);

// A text of one line: every line break (CR, LF, U+2028, U+2029) dropped.
QString oneLine(const QString &text);
bool hasLineBreak(const QString &text);

// The page's arrow and today moves: the day n days later on the calendar.
QDate moved(const QDate &day, int days);

} // namespace DayPageRules
