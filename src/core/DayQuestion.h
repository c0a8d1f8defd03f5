#pragma once

#include <QString>

// The two day questions that the morning and evening prompts carry, looked up
// once on first use and kept for the run.
namespace DayQuestion {
const QString &morning();
const QString &evening();
} // namespace DayQuestion
