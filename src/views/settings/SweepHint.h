#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>

// The line under "Clear today": that a sweep may begin on any day, and
// when the next sweep day (4th, 9th, 14th, ...) comes, strictly after
// today, as a short month and day in the interface language.
namespace SweepHint {
QString text(const QDateTime &now, const QTimeZone &zone = QTimeZone::systemTimeZone());
} // namespace SweepHint
