#include "views/timer/ModeCard.h"

#include "core/L.h"

namespace {

// The phases of one pass of a mode that has a fixed pass.
QList<Phase> fixedPass(Mode mode)
{
    switch (mode) {
    case Mode::chore:
        return {Phase::focus};
    case Mode::quick:
    case Mode::hour:
        return {Phase::focus, Phase::shortBreak};
    case Mode::open:
    case Mode::clock:
    case Mode::rounds:
        break;
    }
    return {};
}

} // namespace

std::optional<double> ModeCard::totalDuration(Mode mode, const PomodoroConfiguring &settings)
{
    const QList<Phase> pass = fixedPass(mode);
    if (pass.isEmpty())
        return std::nullopt;
    double seconds = 0;
    for (const Phase phase : pass)
        seconds += settings.fixedDuration(phase, mode);
    return seconds;
}

QString ModeCard::spanText(Mode mode, const PomodoroConfiguring &settings)
{
    switch (mode) {
    case Mode::rounds:
        return L(QStringLiteral("ひとつ{0}分"), 10);
    case Mode::clock:
        return L(QStringLiteral("続くかぎり"));
    case Mode::open:
        return L(QStringLiteral("決めない"));
    case Mode::chore:
    case Mode::quick:
    case Mode::hour:
        break;
    }
    return spanString(totalDuration(mode, settings).value_or(0));
}

QList<ModeCard> ModeCard::all(const PomodoroConfiguring &settings)
{
    QList<ModeCard> cards;
    for (const Mode mode : allModes()) {
        ModeCard card;
        card.mode = mode;
        card.name = ModeInfo::title(mode);
        card.span = spanText(mode, settings);
        card.detail = ModeInfo::detail(mode, 0);
        card.strip = RhythmPlan::of(mode);
        card.setApart = mode == Mode::clock;
        card.opensRoundsPicker = mode == Mode::rounds;
        card.accessibleName = L(QStringLiteral("{0}ではじめる"), card.name);
        cards << card;
    }
    return cards;
}
