#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <optional>

// Day arithmetic on the wall clock of a time zone (the device's by default):
// adding a day keeps the time of day, so days with a daylight-saving change
// come out right, and differences count calendar days, not 24-hour spans.
namespace DayMath {

// The start of the instant's day in the zone.
QDateTime startOfDay(const QDateTime &date, const QTimeZone &zone = QTimeZone::systemTimeZone());
// Whether both instants fall on the same day in the zone.
bool sameDay(const QDateTime &a, const QDateTime &b, const QTimeZone &zone = QTimeZone::systemTimeZone());
// The instant n days later (earlier for negative n) at the same time of day.
QDateTime addDays(const QDateTime &date, int days, const QTimeZone &zone = QTimeZone::systemTimeZone());
// Whole days from one instant to another, counted on the calendar: 11 days
// and 9 hours is 11; negative when to lies before from.
int wholeDays(const QDateTime &from, const QDateTime &to, const QTimeZone &zone = QTimeZone::systemTimeZone());
// The instant's date in the zone.
QDate dateIn(const QDateTime &date, const QTimeZone &zone = QTimeZone::systemTimeZone());

// A day key "yyyy-MM-dd" of the instant's date in the zone.
QString dayKey(const QDateTime &date, const QTimeZone &zone = QTimeZone::systemTimeZone());
// The date a day key names; nothing for any text that is not exactly such a key.
std::optional<QDate> parseDayKey(const QString &key);

// Text order by Unicode code points after canonical composition (NFC).
bool textLess(const QString &a, const QString &b);

} // namespace DayMath
