#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <optional>

// The sweep days 四九日: the days of the month ending in 4 or 9 (4th, 9th,
// 14th, 19th, 24th, 29th), on which the program invites a guided sweep.
namespace Shikunichi {

const QString &word();        // "四九日"
const QString &reading();     // "しくにち"
const QString &explanation(); // three lines

bool isSweepDay(const QDateTime &date, const QTimeZone &zone = QTimeZone::systemTimeZone());
// The start of the first sweep day after the date's day (never the same day).
std::optional<QDateTime> next(const QDateTime &after, const QTimeZone &zone = QTimeZone::systemTimeZone());
// The start of the last sweep day before the date's day.
std::optional<QDateTime> previous(const QDateTime &before, const QTimeZone &zone = QTimeZone::systemTimeZone());
// The closing line of a sweep: one text on a sweep day, another on other days.
QString closing(const QDateTime &on, const QTimeZone &zone = QTimeZone::systemTimeZone());

} // namespace Shikunichi
