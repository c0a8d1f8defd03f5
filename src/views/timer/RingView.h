#pragma once

#include "core/Models.h"
#include "views/ink/PaintCache.h"

#include <QWidget>

class FrameCanvas;
class FrameTicker;

// The second face of a running phase: a soft paper disc with a thin track,
// a progress arc growing clockwise from twelve o'clock (indigo in focus,
// moss in a break) and a small vermilion dot on the arc's head. While the
// run goes on the whole ring breathes, swelling by 1.2 % and back over 4 s
// each way; paused, it settles back to its rest size (at most 4 s) and then
// nothing more runs. A growing progress moves the arc over 0.25 s; a progress
// that drops (a new phase) is drawn at once, never unwound backwards. The
// clock text is the host's; the ring draws no text and takes no input.
class RingView : public QWidget
{
    Q_OBJECT
public:
    static constexpr double kSide = 248;       // the ring's square
    static constexpr int kMargin = 10;         // room for the swell and the dot's glow
    // 10 frames a second while the arc moves to a new end (the arc of a
    // one-minute break grows 3.2 px a quarter second); 4 while the ring only
    // breathes or settles (the track then moves at most 0.2 px a frame).
    static constexpr int kFrameMs = 100;
    static constexpr int kBreathFrameMs = 250;
    // A new end nearer than this along the arc is drawn at once: moving it
    // over a quarter second would show nothing.
    static constexpr double kLeastArcMove = 0.5;
    static constexpr double kSwell = 1.012;    // the breathing's largest scale
    static constexpr double kBreathSeconds = 4; // one way
    static constexpr double kArcSeconds = 0.25;

    // The hole inside the track that a clock laid on the ring may fill:
    // the track's radius less room for the track, the dot and its glow.
    static constexpr double kHoleGap = 14;
    // In a short window the ring is drawn smaller, down to this share of its
    // size (and never smaller than what it holds needs).
    static constexpr double kLeastShare = 0.6;
    // The widest frame the ring takes: the narrowest window's width (340)
    // less a scroll bar and some paper at each side.
    static constexpr int kWidestFrame = 300;

    explicit RingView(QWidget *parent = nullptr);

    // The ring holds a box of `box` (the clock laid on it) in its hole: it
    // is drawn large enough for that (larger than its own size at a large
    // text scale), and shrinks in a short window no further than that.
    void hold(QSizeF box);
    // The side of the ring's frame (its drawing with the margin around it)
    // whose hole holds `box`.
    static double sideToHold(QSizeF box);
    // The share of its own size the ring is drawn at in its frame now.
    double drawnShare() const;

    void setInputs(double progress, Phase phase, bool running);
    double progress() const { return m_progress; }
    Phase phase() const { return m_phase; }
    bool isRunning() const { return m_running; }

    // What is drawn at time `t` (FaceTime seconds): the arc's progress and
    // the ring's scale.
    double shownProgress(double t) const;
    double scaleAt(double t) const;
    // The redraw timer runs (while breathing, settling or moving the arc,
    // and only while shown), and how often.
    bool isTicking() const;
    // The engine's tick: while the face moves, its frame is drawn now (see
    // FrameTicker::beat).
    void beat();
    int frameInterval() const;

    // The ring centred in an area of `size`: the arc at `progress` in the
    // phase's colour, the dot lit while `running`, the whole scaled by
    // `scale` about the centre. With a cache, the disc and the track (which
    // change only with the size and the appearance) are drawn once into it.
    static void draw(QPainter &painter, QSizeF size, double progress, Phase phase, bool running, double scale = 1.0,
                     PaintCache *base = nullptr);
    // The disc and the track, unscaled, centred in an area of `size`.
    static void drawBase(QPainter &painter, QSizeF size);
    // The breathing scale `seconds` after it began: 1 → kSwell → 1 over
    // 8 s, eased in and out each way.
    static double breath(double seconds);

    // What a frame of the breathing ring changes in an area of `size` where
    // the ring is drawn at `share` of its size: the band about the track
    // that the swell, the arc, the dot and its glow lie in, in strips. The
    // disc within it changes by far less than a level of colour as it
    // swells, and the clock laid on it not at all.
    static QRegion movingRegion(QSizeF size, double share);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void tick();
    bool isSettling(double t) const;
    bool isArcMoving(double t) const;

    double m_progress = 0;
    Phase m_phase = Phase::focus;
    bool m_running = false;
    bool m_placed = false; // the first inputs are drawn at once
    // The arc moves from m_arcFrom to m_progress from m_arcStart.
    double m_arcFrom = 0;
    double m_arcStart = -1e9;
    // Breathing since m_breathStart; after a pause, settling from
    // m_settleFrom to rest over m_settleSeconds from m_settleStart.
    double m_breathStart = 0;
    double m_settleFrom = 1;
    double m_settleStart = -1e9;
    double m_settleSeconds = 0;
    FrameTicker *m_ticker;
    FrameCanvas *m_canvas;
    PaintCache m_base;
    // The last moving band and what it was made for: it is the same every
    // frame until the face is resized.
    QRegion m_band;
    QSize m_bandSize;
    double m_bandShare = -1;
    int m_most;  // the frame's side when there is room
    int m_least; // the least side a short window may give it
};
