#pragma once

#include "core/Models.h"
#include "views/ink/PaintCache.h"

#include <QRegion>
#include <QWidget>

class FrameCanvas;
class FrameTicker;

// The default face of a running phase: a stick of incense in a small bowl,
// burning down from its top as the phase elapses, with an ember at the burn
// line and two strands of smoke rising from it. While the run goes on it is
// redrawn 20 times a second (the trace sways, the smoke waves, the ember
// pulses); paused, it is drawn once, at the moment it stopped, and nothing
// more runs. It draws no text and takes no input.
class IncenseView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 190;
    static constexpr int kHeight = 268;
    // In a short window the face is drawn shorter, down to this height.
    static constexpr int kLeastHeight = 160;
    static constexpr int kFrameMs = 50;

    explicit IncenseView(QWidget *parent = nullptr);

    // The host's inputs: the phase's elapsed fraction, the phase (carried;
    // the picture is the same for every phase) and whether the run runs.
    void setInputs(double progress, Phase phase, bool running);
    double progress() const { return m_progress; }
    Phase phase() const { return m_phase; }
    bool isRunning() const { return m_running; }
    // The redraw timer runs (only while running and shown).
    bool isTicking() const;
    // The engine's tick: while the face moves, its frame is drawn now (see
    // FrameTicker::beat).
    void beat();

    // The face in an area of `size` at time `t` (seconds since 1 January
    // 2001 UTC). Progress outside 0…1 draws as its nearest end. With a
    // cache, what moves slowly (the trace, the stick, the bowl and the ash)
    // is kept in it and drawn again only when it has moved: a frame then
    // draws only the smoke and the ember.
    static void draw(QPainter &painter, QSizeF size, double t, double progress, bool running,
                     PaintCache *still = nullptr);
    // The bowl: its body, `width` wide at its top edge `top`, `height` deep,
    // centred on `x`.
    static void drawHolder(QPainter &painter, double x, double top, double height, double width);

    // Where the stick burns down to, for an area `height` high.
    static double burnLine(double height, double progress);
    // What a frame changes while only the smoke and the ember move: the
    // smoke's reach, the glow and a pixel of room, in an area of `size`.
    static QRect movingArea(QSizeF size, double progress);
    // What the slow parts change from the step `from` to the step `to` on a
    // device of `dpr`: the trace and the stick's top when the trace swayed;
    // also the ash, the rim and the bowl under it when the line burnt on.
    static QRegion stillChange(QSizeF size, double dpr, quint64 from, quint64 to);
    // What a frame repaints when the slow parts went from the step `from`
    // to `to`: what they changed and the moving area.
    static QRegion frameArea(QSizeF size, double dpr, quint64 from, quint64 to, double progress);
    // The step the slow parts stand at, at time `t` on a device of `dpr`:
    // the cached layer is drawn again when it changes.
    static quint64 stillStep(QSizeF size, double t, double progress, double dpr);

    QSize sizeHint() const override { return {kWidth, kHeight}; }
    QSize minimumSizeHint() const override { return {kWidth, kLeastHeight}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void frame();

    double m_progress = 0;
    Phase m_phase = Phase::focus;
    bool m_running = false;
    double m_stillTime; // the moment a stopped face is drawn at
    FrameTicker *m_ticker;
    FrameCanvas *m_canvas;
    PaintCache m_still;
    quint64 m_drawnStep = 0; // the slow parts' step of the last frame
    double m_drawnDpr = 1;   // and the device pixel ratio it was drawn at
};
