#pragma once

#include <QIcon>
#include <QList>
#include <QSizeF>

class PomodoroEngine;
class QPainter;

// The tray item's icon, drawn by the program from the run: a ring that
// holds the phase's time (draining while a phase counts down, filling while
// an open-ended one counts up) and, inside it, the phase's glyph as the
// menu-bar title writes it — nothing for a focus (the ring is its ◯), one
// dot for a short break (·), two for a long one (‥). A paused phase shows
// two bars inside a dimmed ring; a finished run a full ring with a check;
// no mode the bare ring.
class TrayIconPainter
{
public:
    // The ring is drawn in whole steps, so the icon changes only when a step
    // passes (every 1/120 of the phase), not on every tick of the engine.
    static constexpr int kSteps = 120;

    struct State
    {
        enum class Mark { none, focus, shortBreak, longBreak, done };
        Mark mark = Mark::none; // none: the engine has no mode
        int sweep = 0;          // the drawn part of the ring, 0 … kSteps
        bool paused = false;

        bool operator==(const State &) const = default;
    };

    static State stateOf(const PomodoroEngine &engine);

    // Draws the icon filling the largest square centred in `size`, in the
    // theme's colours of the appearance in effect, on a clear background.
    static void draw(QPainter &painter, QSizeF size, const State &state);

    // The icon at the sizes trays ask for.
    static QIcon icon(const State &state);
    static const QList<int> &sides();
};
