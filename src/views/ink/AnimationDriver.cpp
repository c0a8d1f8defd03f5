#include "views/ink/AnimationDriver.h"

#include "views/ink/Animation.h"

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
    const qint64 t = now();
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
