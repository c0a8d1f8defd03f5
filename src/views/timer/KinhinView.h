#pragma once

#include <QWidget>

class FrameCanvas;
class FrameTicker;

// The face of a short break (the walking break): a small robed figure with
// folded hands walks from the left end of a ground line to the right end as
// the break elapses, leaving a faint trail. While the run goes on it is
// redrawn 12 times a second (the feet swap, the figure bobs); paused, the
// figure stands in one pose and nothing more runs. It draws no text and
// takes no input.
class KinhinView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 190;
    static constexpr int kHeight = 268;
    // In a short window the face is drawn shorter, down to this height.
    static constexpr int kLeastHeight = 160;
    static constexpr int kFrameMs = 83; // 12 frames a second

    explicit KinhinView(QWidget *parent = nullptr);

    void setInputs(double progress, bool running);
    double progress() const { return m_progress; }
    bool isRunning() const { return m_running; }
    bool isTicking() const;
    // The engine's tick: while the face moves, its frame is drawn now (see
    // FrameTicker::beat).
    void beat();

    // The face in an area of `size` at time `t` (seconds since 1 January
    // 2001 UTC).
    static void draw(QPainter &painter, QSizeF size, double t, double progress, bool running);
    // The ground line at height `y`, fading out at both ends.
    static void drawGround(QPainter &painter, QSizeF size, double y);
    // The figure facing right, standing on `groundY` at `x`, in the pose of
    // `step` (a fraction of the step cycle, 0 ≤ step < 1).
    static void drawWalker(QPainter &painter, double x, double groundY, double step);

    // Where the figure stands for an area `width` wide.
    static double walkerX(double width, double progress);
    // The pose: one step cycle every 4 s while running, else a fixed pose.
    static double stepAt(double t, bool running);

    QSize sizeHint() const override { return {kWidth, kHeight}; }
    QSize minimumSizeHint() const override { return {kWidth, kLeastHeight}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_progress = 0;
    bool m_running = false;
    FrameTicker *m_ticker;
    FrameCanvas *m_canvas;
};
