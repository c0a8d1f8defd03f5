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

QString ClockText::full(double seconds)
{
    const long long s = wholeSeconds(seconds);
    if (s < 3600)
        return QString::asprintf("%02lld:%02lld", s / 60, s % 60);
    return QString::asprintf("%lld:%02lld:%02lld", s / 3600, (s / 60) % 60, s % 60);
}

QString ClockText::compact(double seconds)
{
    const long long s = wholeSeconds(seconds);
    if (s < 3600)
        return L(QStringLiteral("{0}分"), s / 60);
    return QString::asprintf("%lld:%02lld", s / 3600, (s / 60) % 60);
}
