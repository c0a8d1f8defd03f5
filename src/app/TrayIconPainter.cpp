#include "app/TrayIconPainter.h"

#include "core/Kiv.h"
#include "core/PomodoroEngine.h"
#include "views/ink/DrawnIcon.h"
#include "views/ink/SymbolPainter.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

TrayIconPainter::State TrayIconPainter::stateOf(const PomodoroEngine &engine)
{
    State state;
    if (!engine.mode())
        return state;
    if (engine.state() == RunState::finished) {
        state.mark = State::Mark::done;
        state.sweep = kSteps;
        return state;
    }
    switch (engine.phase()) {
    case Phase::focus:
        state.mark = State::Mark::focus;
        break;
    case Phase::shortBreak:
        state.mark = State::Mark::shortBreak;
        break;
    case Phase::longBreak:
        state.mark = State::Mark::longBreak;
        break;
    }
    const double progress = std::clamp(engine.progress(), 0.0, 1.0);
    // A countdown shows what is left and empties only at its very end; an
    // open-ended phase shows how far the current turn has come.
    state.sweep = engine.isOpenEnded() ? int(std::floor(progress * kSteps))
                                       : int(std::ceil((1.0 - progress) * kSteps - 1e-9));
    state.sweep = std::clamp(state.sweep, 0, kSteps);
    state.paused = engine.state() == RunState::paused;
    return state;
}

void TrayIconPainter::draw(QPainter &painter, QSizeF size, const State &state)
{
    const double s = std::min(size.width(), size.height());
    if (s <= 0)
        return;
    const QPointF centre(size.width() / 2, size.height() / 2);
    const double width = s * 0.125;
    const double radius = s * 0.5 - width * 0.5 - s * 0.03;
    const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    auto pen = [width](const QColor &colour, double factor = 1.0) {
        QPen p(colour, width * factor);
        p.setCapStyle(Qt::FlatCap);
        return p;
    };

    switch (state.mark) {
    case State::Mark::none:
        // No mode: the bare ring, a little lighter than a running one.
        painter.setPen(pen(Kiv::ink(), 0.75));
        painter.drawEllipse(ring);
        break;
    case State::Mark::done: {
        painter.setPen(pen(Kiv::moss()));
        painter.drawEllipse(ring);
        const double side = s * 0.5;
        SymbolPainter::paint(painter, QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side),
                             Symbol::checkmark, Kiv::moss(), SymbolWeight::medium);
        break;
    }
    case State::Mark::focus:
    case State::Mark::shortBreak:
    case State::Mark::longBreak: {
        painter.setPen(pen(Kiv::ink(0.25)));
        painter.drawEllipse(ring);
        const int sweep = std::clamp(state.sweep, 0, kSteps);
        if (sweep > 0) {
            painter.setPen(pen(Kiv::ink(state.paused ? 0.6 : 1.0)));
            // From twelve o'clock, clockwise.
            const int span = -int(std::lround(360.0 * 16 * sweep / kSteps));
            if (sweep == kSteps)
                painter.drawEllipse(ring);
            else
                painter.drawArc(ring, 90 * 16, span);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(Kiv::ink());
        if (state.paused) {
            const double barWidth = s * 0.09;
            const double barHeight = s * 0.3;
            const double gap = s * 0.08;
            for (double x : {centre.x() - gap / 2 - barWidth, centre.x() + gap / 2})
                painter.drawRect(QRectF(x, centre.y() - barHeight / 2, barWidth, barHeight));
        } else if (state.mark == State::Mark::shortBreak) {
            const double dot = s * 0.1;
            painter.drawEllipse(centre, dot, dot);
        } else if (state.mark == State::Mark::longBreak) {
            const double dot = s * 0.085;
            const double apart = s * 0.13;
            painter.drawEllipse(centre - QPointF(apart, 0), dot, dot);
            painter.drawEllipse(centre + QPointF(apart, 0), dot, dot);
        }
        break;
    }
    }
    painter.restore();
}

const QList<int> &TrayIconPainter::sides()
{
    static const QList<int> list = {16, 22, 24, 32, 48, 64};
    return list;
}

QIcon TrayIconPainter::icon(const State &state)
{
    // Drawn when the tray asks, at the size it shows: nothing is drawn while
    // no tray shows the icon.
    return DrawnIcon::make([state](QPainter &painter, QSizeF size) { draw(painter, size, state); }, sides());
}
