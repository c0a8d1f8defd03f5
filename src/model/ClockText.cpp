#include "model/ClockText.h"

#include "core/L.h"

#include <cmath>

namespace {
// 2^63: the first whole number a 64-bit integer cannot hold.
constexpr double kBeyondInteger = 9223372036854775808.0;

// The seconds rounded up. Nothing sensible is left to show of a negative,
// undefined or infinite time, nor of one too long for an integer (converting
// it would be undefined), so those read as no time at all.
long long wholeSeconds(double seconds)
{
    if (!(seconds > 0) || !(seconds < kBeyondInteger))
        return 0;
    return (long long)std::ceil(seconds);
}
} // namespace

// "mm:ss" below an hour, "h:mm:ss" from one. Written by hand rather than
// through a format: the clock is written at every second of a round,
// hidden or not.
QString ClockText::full(double seconds)
{
    const long long s = wholeSeconds(seconds);
    const auto two = [](long long n) { return QString::number(n).rightJustified(2, u'0'); };
    if (s < 3600)
        return two(s / 60) + u':' + two(s % 60);
    return QString::number(s / 3600) + u':' + two((s / 60) % 60) + u':' + two(s % 60);
}

QString ClockText::compact(double seconds)
{
    const long long s = wholeSeconds(seconds);
    if (s < 3600)
        return L(QStringLiteral("{0}分"), s / 60);
    return QString::asprintf("%lld:%02lld", s / 3600, (s / 60) % 60);
}
