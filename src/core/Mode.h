#pragma once

#include "core/Models.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The six ways to run rounds. Stored as the case name.
enum class Mode { open, chore, quick, hour, clock, rounds };

QString rawValue(Mode mode);
std::optional<Mode> modeFromRaw(const QString &raw);
const QList<Mode> &allModes();

namespace ModeInfo {
// The display name through L: 任運 … (Ninnun … in English).
QString title(Mode mode);
// Every mode starts its next step at once.
inline bool advancesAutomatically(Mode) { return true; }
// The pattern of phases shown for the mode; the argument changes nothing.
QList<Phase> rhythm(Mode mode, int sessionsUntilLongBreak);
// The one-line description through L; the argument changes nothing.
QString detail(Mode mode, int sessionsUntilLongBreak);
// The fixed seconds of a phase in a mode (no setting is read).
double fixedDuration(Phase phase, Mode mode);
} // namespace ModeInfo

// The three preparation steps before a round, in order.
enum class Preparation { body, breath, mind };
QString rawValue(Preparation step);
std::optional<Preparation> preparationFromRaw(const QString &raw);
const QList<Preparation> &allPreparations();

// The timer engine's view of the settings.
class PomodoroConfiguring
{
public:
    virtual ~PomodoroConfiguring() = default;
    // Planned seconds of a phase from the user's minutes settings.
    virtual double duration(Phase phase) const = 0;
    // The fixed seconds of a phase in a mode.
    virtual double fixedDuration(Phase phase, Mode mode) const { return ModeInfo::fixedDuration(phase, mode); }
    // Stored and synced; the engine never reads them.
    virtual bool autoStartBreak() const = 0;
    virtual bool autoStartFocus() const = 0;
};

// The clock mode's half-hour rule: focus from :00 to :25 and :30 to :55.
namespace ClockRhythm {
// Minutes into the current half hour of the local time, in [0, 30).
double inCycle(const QDateTime &date);
// The phase the clock calls for at m minutes into the half hour.
Phase phaseAt(double minutesInCycle);
// Seconds from m minutes into the half hour to the next mark (:25 or :30).
double secondsToNextMark(double minutesInCycle);
} // namespace ClockRhythm

// A span of seconds as short text through L: "25分", "1時間30分", "2時間".
// A span too long for a 64-bit count of minutes shows the longest one it
// holds; an undefined one shows "0分".
QString spanString(double seconds);
