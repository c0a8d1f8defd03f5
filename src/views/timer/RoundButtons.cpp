#include "views/timer/RoundButtons.h"

#include "core/L.h"

namespace {

RoundButton shown(const QString &title, const QString &toolTip = QString())
{
    return RoundButton{true, true, title, toolTip};
}

QString primaryTitle(RunState state)
{
    switch (state) {
    case RunState::running:
        return L(QStringLiteral("とめる"));
    case RunState::paused:
        return L(QStringLiteral("つづける"));
    case RunState::idle:
    case RunState::finished:
        break;
    }
    return L(QStringLiteral("はじめる"));
}

} // namespace

RoundButtons RoundButtons::of(const Inputs &in)
{
    RoundButtons b;
    b.back = shown(L(QStringLiteral("戻る")), L(QStringLiteral("選び直す")));
    const bool finished = in.state == RunState::finished;
    const RoundButton putDown =
        shown(L(QStringLiteral("手を離す")),
              L(QStringLiteral("ここまでにして、選び直す（時間はそのぶん記録されます）")));
    const RoundButton complete =
        in.linkedTitle ? shown(L(QStringLiteral("了とする")), L(QStringLiteral("「{0}」を終えたものにする"), *in.linkedTitle))
                       : RoundButton{};

    if (finished) {
        // The completion view: again, put down and, for a linked task, mark done.
        if (in.mode) {
            b.again = shown(L(QStringLiteral("もう一度")));
            b.putDown = putDown;
            b.complete = complete;
        }
        return b;
    }

    b.reset = shown(L(QStringLiteral("戻す")));
    b.reset.enabled = !(in.state == RunState::idle && in.progress == 0);
    b.primary = shown(primaryTitle(in.state));
    b.primaryTint = in.phase == Phase::focus ? Tint::indigo : Tint::moss;
    b.next = shown(L(QStringLiteral("次へ")));

    // The paused panel: while paused, and through every break.
    if (in.state == RunState::paused || in.phase != Phase::focus) {
        b.putDown = putDown;
        b.complete = complete;
        if (in.canEncore) {
            b.encoreChosen = in.encoreChosen;
            b.encore = shown(in.encoreChosen ? L(QStringLiteral("やめておく")) : L(QStringLiteral("つづけて坐る")));
        }
    }
    return b;
}
