#include "core/Kiv.h"

namespace {
double g_scale = 1.0;
}

namespace Kiv {
double scale()
{
    return g_scale;
}

void setScale(double scale)
{
    g_scale = scale;
}
} // namespace Kiv
