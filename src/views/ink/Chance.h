#pragma once

#include <QRandomGenerator>

// The screens' random draws (the saying under the modes, the day page's
// example lines): one generator for all of them, seeded from the system.
// Still pictures seed it with a fixed value, so that they come out the same
// from run to run.
namespace Chance {

QRandomGenerator &generator();
void seed(quint32 value);

} // namespace Chance
