#pragma once

#include "stores/DayEvent.h"
#include "stores/DayPlan.h"

#include <QString>

// The meta lines of the timeline entries and the delete question's message.
namespace DayItemTexts {

// "予定　作務　9:05　45分"; an untimed plan reads "時刻はまだ" for its time.
QString plan(const DayPlan &plan);
// "予定　9:05　45分　Work".
QString event(const DayEvent &event);
// "したこと　9:05　25分".
QString deed(const DayDeed &deed);
// "「title」9:05から25分".
QString deleteMessage(const DayDeed &deed);

} // namespace DayItemTexts
