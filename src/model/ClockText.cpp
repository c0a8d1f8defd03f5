#include "model/ClockText.h"

#include "core/L.h"

#include <cmath>

namespace {
long long wholeSeconds(double seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0)
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
