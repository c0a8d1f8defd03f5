#pragma once

// The theme's process-wide text scale: every size of the interface is given
// at scale 1 and multiplied by it. The settings keep it in step with the
// "textScale" preference, clamped to 1.0–1.6.
namespace Kiv {
double scale();
void setScale(double scale);
} // namespace Kiv
