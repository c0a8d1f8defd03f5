#include "views/ink/Rhythm.h"

namespace Rhythm {

MarkState stateOf(int index, std::optional<int> current)
{
    if (!current)
        return MarkState::unplaced;
    if (index < *current)
        return MarkState::done;
    if (index == *current)
        return MarkState::current;
    return MarkState::upcoming;
}

Mark mark(Phase phase, MarkState state, bool openEnded)
{
    using C = Kiv::Colour;
    const double w = openEnded ? 24 : 8;
    switch (phase) {
    case Phase::focus:
        switch (state) {
        case MarkState::done: return {{w, 8}, {C::indigo, 0.75}};
        case MarkState::current: return {{w + 1, 9}, {C::vermilion}, Tone::clear(), 0, {C::vermilion, 0.5}};
        case MarkState::upcoming:
        case MarkState::unplaced: return {{w, 8}, Tone::clear(), {C::indigo, 0.9}, 1.2};
        }
        break;
    case Phase::shortBreak:
        switch (state) {
        case MarkState::done:
        case MarkState::unplaced: return {{3, 3}, {C::inkSoft}};
        case MarkState::current: return {{4, 4}, {C::vermilion}};
        case MarkState::upcoming: return {{3, 3}, {C::inkGhost}};
        }
        break;
    case Phase::longBreak:
        switch (state) {
        case MarkState::done:
        case MarkState::unplaced: return {{8, 3}, {C::moss, 0.85}};
        case MarkState::current: return {{8, 3}, {C::vermilion}};
        case MarkState::upcoming: return {{8, 3}, {C::inkGhost}};
        }
        break;
    }
    return {};
}

QList<Mark> marks(const QList<Phase> &phases, std::optional<int> current, bool openEnded)
{
    QList<Mark> list;
    list.reserve(phases.size());
    for (qsizetype i = 0; i < phases.size(); ++i)
        list.append(mark(phases[i], stateOf(int(i), current), openEnded));
    return list;
}

std::optional<int> currentMark(Mode mode, int planIndex)
{
    if (mode != Mode::clock && mode != Mode::rounds)
        return planIndex;
    const int n = int(ModeInfo::rhythm(mode, 0).size());
    if (n <= 0)
        return std::nullopt;
    return ((planIndex % n) + n) % n;
}

} // namespace Rhythm
