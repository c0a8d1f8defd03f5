#include "views/ink/FrameTicker.h"

#include "views/ink/Motion.h"

#include <QEvent>
#include <QWidget>

FrameTicker::FrameTicker(QWidget *owner, int intervalMs, std::function<void()> tick)
    : QObject(owner)
    , m_owner(owner)
    , m_tick(std::move(tick))
{
    m_interval = intervalMs;
    m_timer.setInterval(intervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        // The frames after a beat are again an interval apart.
        if (m_timer.interval() != m_interval)
            m_timer.setInterval(m_interval);
        m_tick();
    });
    m_shown = owner->isVisible() && !owner->window()->isMinimized();
    owner->installEventFilter(this);
}

void FrameTicker::setInterval(int intervalMs)
{
    m_interval = intervalMs;
    if (intervalMs != m_timer.interval())
        m_timer.setInterval(intervalMs);
}

void FrameTicker::beat()
{
    if (!m_timer.isActive())
        return;
    // A quarter of an interval more before the first frame of the timer's
    // own: beats that come at the frames' own rate (the engine ticks as
    // often as a breathing ring draws) then always come first, whatever the
    // little delays of either.
    m_timer.start(m_interval + m_interval / 4);
    m_tick();
}

void FrameTicker::setMoving(bool moving)
{
    m_moving = moving;
    reconsider();
}

bool FrameTicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner) {
        if (event->type() == QEvent::Show) {
            m_shown = !m_owner->window()->isMinimized();
            reconsider();
        } else if (event->type() == QEvent::Hide) {
            // Also sent, spontaneously, when the window is minimized.
            m_shown = false;
            reconsider();
        }
    }
    return false;
}

void FrameTicker::reconsider()
{
    const bool run = m_moving && m_shown && !Motion::isInstant();
    if (run && !m_timer.isActive())
        m_timer.start();
    else if (!run && m_timer.isActive())
        m_timer.stop();
}
