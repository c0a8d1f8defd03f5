#include "views/day/TimeAndLengthRules.h"

#include "core/Mode.h"
#include "model/DayClock.h"

#include <algorithm>

void TimeAndLengthRules::startBack()
{
    start = std::max(start - kStep, 0);
}

void TimeAndLengthRules::startForward()
{
    start = std::min(start + kStep, std::max(limit - minutes, 0));
}

void TimeAndLengthRules::shiftEnd(int by)
{
    minutes = std::min(std::max(minutes + by, kLeast), std::max(limit - start, kLeast));
}

void TimeAndLengthRules::pickStart(int minute)
{
    start = std::min(std::max(minute, 0), std::max(limit - kLeast, 0));
    minutes = std::min(minutes, std::max(limit - start, kLeast));
}

void TimeAndLengthRules::pickEnd(int minute)
{
    minutes = std::min(std::max(minute - start, kLeast), std::max(limit - start, kLeast));
}

void TimeAndLengthRules::chooseChip(int n)
{
    minutes = std::min(n, std::max(limit - start, kLeast));
}

QString TimeAndLengthRules::summary() const
{
    return DayClock::text(start) + QStringLiteral(" 〜 ") + DayClock::text(end()) + QStringLiteral(" ・ ")
        + spanString(minutes * 60.0);
}

QString TimeAndLengthRules::chipText(int n)
{
    return spanString(n * 60.0);
}
