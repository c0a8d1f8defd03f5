#pragma once

#include <QDateTime>
#include <QString>

// The day a task is placed on or made due on, and the short texts of days.
//
// A day chosen as today, tomorrow or from a calendar is handed over as the
// start of that day plus 32400 s: 09:00 on a day without a clock change
// (10:00 or 08:00 when the clocks moved before nine). Every placement chip,
// the placement calendar and the due-date choices use this one value.
namespace PlaceDay {

// The value of the day `offset` days after now's day.
QDateTime day(int offset, const QDateTime &now);
// The value of the day that holds `date`.
QDateTime of(const QDateTime &date);
// Month and day digits without leading zeros: "3/7", "12/25".
QString shortDate(const QDateTime &date);
// The abbreviated month and day in the interface language: "3月14日", "Mar 14".
QString monthDay(const QDateTime &date);
// "今日" / "明日" for a date in today or tomorrow, else monthDay(date).
QString dayLabel(const QDateTime &date, const QDateTime &now);
bool isToday(const QDateTime &date, const QDateTime &now);
bool isTomorrow(const QDateTime &date, const QDateTime &now);

} // namespace PlaceDay
