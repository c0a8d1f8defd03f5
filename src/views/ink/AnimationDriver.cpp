#include "views/ink/AnimationDriver.h"

#include "views/ink/Animation.h"

#include <algorithm>

AnimationDriver &AnimationDriver::instance()
{
    static AnimationDriver *driver = new AnimationDriver;
    return *driver;
}

AnimationDriver::AnimationDriver()
{
    m_clock.start();
    m_timer.setInterval(frameMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AnimationDriver::tick);
}

void AnimationDriver::setManualTime(bool manual)
{
    if (manual == m_manual)
        return;
    // The manual clock starts where the real one stands, so animations
    // already running keep their place.
    m_manualNow = m_clock.elapsed();
    m_manual = manual;
}

void AnimationDriver::advance(int ms)
{
    if (!m_manual)
        return;
    while (ms > 0) {
        const int stepMs = std::min(ms, frameMs);
        m_manualNow += stepMs;
        ms -= stepMs;
        if (!m_running.isEmpty())
            step();
    }
}

void AnimationDriver::stall(int ms)
{
    if (m_manual)
        m_manualNow += ms;
}

void AnimationDriver::add(Animation *animation)
{
    if (!m_running.contains(animation))
        m_running.append(animation);
    if (!m_timer.isActive())
        m_timer.start();
}

void AnimationDriver::remove(Animation *animation)
{
    m_running.removeOne(animation);
    if (m_running.isEmpty())
        m_timer.stop();
}

void AnimationDriver::tick()
{
    if (!m_manual)
        step();
}

void AnimationDriver::step()
{
    const qint64 t = now();
    ++m_frames;
    // A step may start, finish or destroy other animations: walk a copy and
    // step only those still registered.
    const QList<Animation *> running = m_running;
    for (Animation *animation : running) {
        if (m_running.contains(animation))
            animation->step(t);
    }
    if (m_running.isEmpty())
        m_timer.stop();
}
