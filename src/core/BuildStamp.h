#pragma once

#include <QString>

// The version line shown in the settings window: version, build number and
// build time, all fixed when the program is built.
namespace BuildStamp {
QString line();
} // namespace BuildStamp
