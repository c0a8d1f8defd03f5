#pragma once

#include "stores/LocalTask.h"

#include <QDateTime>
#include <QList>
#include <QTimeZone>

// Which local tasks a sweep asks about, and why each one is quiet.
namespace Sweep {

// The latest of the review, change and creation times.
QDateTime lastTouched(const LocalTask &task);

// The open, non-practice tasks not reviewed in the last ten days that are
// past due or untouched for ten days, least recently touched first, at most
// limit of them.
QList<LocalTask> quiet(const QList<LocalTask> &tasks, const QDateTime &on, int limit,
                       const QTimeZone &zone = QTimeZone::systemTimeZone());

// "期限を {0} 日過ぎています" for a past-due task, else "{0} 日、触れていません".
// Never a negative count: a last touch in the future counts as today.
QString reason(const LocalTask &task, const QDateTime &on, const QTimeZone &zone = QTimeZone::systemTimeZone());

} // namespace Sweep
