#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

// The three things put in order on a sweep day (一 what one holds, 二 one's
// surroundings, 三 oneself) and the suggestion lists for the last two.
namespace Totonoe {

const QStringList &labels();       // "抱えているもの", "身のまわり", "自分"
const QStringList &numerals();     // "一", "二", "三"
const QStringList &surroundings(); // ten suggestions
const QStringList &oneself();      // eight suggestions

// The suggestion to start from on the date: the day of the year modulo the
// list length, so it moves on by one each day.
int start(int count, const QDateTime &on, const QTimeZone &zone = QTimeZone::systemTimeZone());

} // namespace Totonoe
