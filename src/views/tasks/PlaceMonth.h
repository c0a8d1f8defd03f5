#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The month grid of the placement calendar: Sunday first in every locale,
// blanks before the first day, none after the last.
namespace PlaceMonth {

// The start of the first day of the month that holds `date`.
QDateTime firstOfMonth(const QDateTime &date);
// The month n months after `month` (a first of month).
QDateTime shift(const QDateTime &month, int n);
// Whether a month before `month` may be shown: never before now's month.
bool canGoBack(const QDateTime &month, const QDateTime &now);
// Blanks (nothing) for the weekdays before day 1, then every day of the month.
QList<std::optional<QDate>> cells(const QDateTime &month);
// "2025年3月" or "Mar 2025".
QString title(const QDateTime &month);
// The seven weekday labels, Sunday first ("日" … "土", "Su" … "Sa").
QStringList weekdays();

} // namespace PlaceMonth
