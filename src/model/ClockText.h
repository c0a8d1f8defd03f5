#pragma once

#include <QString>

// A number of seconds as the clocks of the interface show it. Both round up
// to whole seconds first; a negative, undefined or infinite number, or one
// beyond the range of a 64-bit integer, shows as no time ("00:00", "0分").
namespace ClockText {
// "%02d:%02d" (minutes, seconds) below an hour, else "%d:%02d:%02d".
QString full(double seconds);
// L("{0}分") with the whole minutes below an hour, else "%d:%02d" (hours, minutes).
QString compact(double seconds);
} // namespace ClockText
