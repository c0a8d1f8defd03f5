#pragma once

#include <QDate>
#include <QDateTime>

// Times of day as the wall clock shows them. A day with a daylight-saving
// change has 23 or 25 hours; counting from midnight by the wall clock keeps
// "10:00" at minute 600 on every day.
namespace WallClock {

// The local time m minutes after midnight of day by the wall clock; minutes
// below 0 or from 1440 on fall on the days before or after. A time inside
// a spring-forward gap is moved on by the gap's length.
QDateTime atMinute(const QDate &day, int minutes);

// Seconds from midnight of day to t, both read on the local wall clock
// (negative before the day, beyond 86 400 after it).
qint64 wallSecondsSince(const QDate &day, const QDateTime &t);

} // namespace WallClock
