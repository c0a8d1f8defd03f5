#include "core/Mode.h"

#include "core/L.h"

#include <algorithm>
#include <cmath>

namespace {
struct ModeRow
{
    Mode mode;
    const char *raw;
    const char *title;
    double focus;
    double shortBreak;
};

// Fixed phase lengths in seconds; every mode's long break is 900 s.
constexpr ModeRow kModes[] = {
    {Mode::open, "open", "任運", 1500, 300},   {Mode::chore, "chore", "小坐", 600, 300},
    {Mode::quick, "quick", "一坐", 1500, 300}, {Mode::hour, "hour", "一炷", 3000, 600},
    {Mode::clock, "clock", "常住", 1500, 300}, {Mode::rounds, "rounds", "巡香", 600, 60},
};

const ModeRow &row(Mode mode)
{
    return kModes[int(mode)];
}
} // namespace

QString rawValue(Mode mode)
{
    return QString::fromLatin1(row(mode).raw);
}

std::optional<Mode> modeFromRaw(const QString &raw)
{
    for (const ModeRow &r : kModes)
        if (raw == QLatin1String(r.raw))
            return r.mode;
    return std::nullopt;
}

const QList<Mode> &allModes()
{
    static const QList<Mode> modes{Mode::open, Mode::chore, Mode::quick, Mode::hour, Mode::clock, Mode::rounds};
    return modes;
}

namespace ModeInfo {

QString title(Mode mode)
{
    return L(QString::fromUtf8(row(mode).title));
}

QList<Phase> rhythm(Mode mode, int)
{
    switch (mode) {
    case Mode::open:
    case Mode::chore:
        return {Phase::focus};
    case Mode::quick:
    case Mode::hour:
        return {Phase::focus, Phase::shortBreak};
    case Mode::clock:
        return {Phase::focus, Phase::shortBreak, Phase::focus, Phase::shortBreak};
    case Mode::rounds:
        return {Phase::focus, Phase::shortBreak, Phase::focus, Phase::shortBreak, Phase::focus};
    }
    return {};
}

QString detail(Mode mode, int)
{
    switch (mode) {
    case Mode::open:
        return L(QStringLiteral("にんぬん ・ 時を決めず、やめるまで"));
    case Mode::chore:
        return L(QStringLiteral("しょうざ ・ 短く腰を据える。返信や片づけをひとつ"));
    case Mode::quick:
        return L(QStringLiteral("いちざ ・ 腰を据えて、{0}分坐って {1}分の経行"), 25, 5);
    case Mode::hour:
        return L(QStringLiteral("いっちゅう ・ 線香一本ぶん。{0}分坐って、{1}分の経行"), 50, 10);
    case Mode::clock:
        return L(QStringLiteral("じょうじゅう ・ 時計のとおりに。毎時0分と30分から{0}分坐り、残りは経行。"), 25);
    case Mode::rounds:
        return L(QStringLiteral("じゅんこう ・ 作務をひとつずつ巡る。済めば次へ"));
    }
    return {};
}

double fixedDuration(Phase phase, Mode mode)
{
    switch (phase) {
    case Phase::focus:
        return row(mode).focus;
    case Phase::shortBreak:
        return row(mode).shortBreak;
    case Phase::longBreak:
        return 900;
    }
    return 0;
}

} // namespace ModeInfo

QString rawValue(Preparation step)
{
    switch (step) {
    case Preparation::body:
        return QStringLiteral("body");
    case Preparation::breath:
        return QStringLiteral("breath");
    case Preparation::mind:
        return QStringLiteral("mind");
    }
    return {};
}

std::optional<Preparation> preparationFromRaw(const QString &raw)
{
    for (Preparation p : allPreparations())
        if (rawValue(p) == raw)
            return p;
    return std::nullopt;
}

const QList<Preparation> &allPreparations()
{
    static const QList<Preparation> steps{Preparation::body, Preparation::breath, Preparation::mind};
    return steps;
}

namespace ClockRhythm {

double inCycle(const QDateTime &date)
{
    const QTime t = date.toLocalTime().time();
    const double minutes = t.minute() + (t.second() + t.msec() / 1000.0) / 60.0;
    return std::fmod(minutes, 30.0);
}

Phase phaseAt(double m)
{
    return m < 25.0 ? Phase::focus : Phase::shortBreak;
}

double secondsToNextMark(double m)
{
    return m < 25.0 ? (25.0 - m) * 60.0 : (30.0 - m) * 60.0;
}

} // namespace ClockRhythm

QString spanString(double seconds)
{
    // Whole minutes, clamped into what a 64-bit integer holds before the
    // conversion (beyond it the conversion is undefined); NaN reads as 0.
    constexpr double kMostMinutes = 9223372036854774784.0; // the largest double below 2^63
    const double minutes = std::round(seconds / 60.0);
    const qint64 m = std::isnan(minutes) ? 0 : qint64(std::clamp(minutes, -kMostMinutes, kMostMinutes));
    if (m >= -59 && m <= 59)
        return L(QStringLiteral("{0}分"), m);
    const qint64 h = m / 60;
    const qint64 r = m - 60 * h;
    if (r != 0)
        return L(QStringLiteral("{0}時間{1}分"), h, r);
    return L(QStringLiteral("{0}時間"), h);
}
