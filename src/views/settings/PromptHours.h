#pragma once

#include "views/settings/PickerRow.h"

#include <QString>

// The hours offered for the day prompts and the notice captions: mornings
// from 4 to 12, dusks from 16 to 23, each tagged with its hour.
namespace PromptHours {

// How long before a placed time its notice comes, in minutes.
inline constexpr int kNoticeMinutes = 5;

PickerRow::Options morning();
PickerRow::Options evening();
// "{0}時" / "{0}:00".
QString hourText(int hour);
QString tag(int hour);
// The caption under the plan-notice switch, with the minutes filled in.
QString planNoticeCaption();

} // namespace PromptHours
