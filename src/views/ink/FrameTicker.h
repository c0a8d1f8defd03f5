#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

// A periodic timeline for a widget that moves by itself (a burning stick,
// a walking figure): calls `tick` every interval, but only while the widget
// is shown (not hidden, not in a minimized window) and the widget says that
// something moves. A paused face calls setMoving(false), draws once and
// costs nothing more. Still pictures (Motion::isInstant()) never tick.
class FrameTicker : public QObject
{
    Q_OBJECT
public:
    FrameTicker(QWidget *owner, int intervalMs, std::function<void()> tick);

    void setMoving(bool moving);
    // An outside beat (the engine's tick, a few times a second): while the
    // timeline runs, its frame is drawn now and the next one an interval
    // later, so that frames and beats fall in the same wake-up instead of
    // each waking the program on its own.
    void beat();
    bool isMoving() const { return m_moving; }
    bool isTicking() const { return m_timer.isActive(); }
    // A new interval takes effect from the next tick.
    void setInterval(int intervalMs);
    int interval() const { return m_interval; }
    // Milliseconds to the next frame of the timer (tests).
    int untilNextFrame() const { return m_timer.remainingTime(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reconsider();

    QWidget *m_owner;
    std::function<void()> m_tick;
    QTimer m_timer;
    int m_interval = 0;
    bool m_moving = false;
    bool m_shown = false;
};
