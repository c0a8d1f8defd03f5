#include "views/timer/FaceTime.h"

#include "platform/time/Clock.h"

namespace FaceTime {

double now()
{
    return double(Clock::current().nowMSecs()) / 1000.0 - kReferenceOffset;
}

} // namespace FaceTime
