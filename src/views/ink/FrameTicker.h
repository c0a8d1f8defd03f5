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
    bool isMoving() const { return m_moving; }
    bool isTicking() const { return m_timer.isActive(); }
    // A new interval takes effect from the next tick.
    void setInterval(int intervalMs);
    int interval() const { return m_timer.interval(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reconsider();

    QWidget *m_owner;
    QTimer m_timer;
    bool m_moving = false;
    bool m_shown = false;
};
