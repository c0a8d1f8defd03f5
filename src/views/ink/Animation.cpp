#include "views/ink/Animation.h"

#include "views/ink/AnimationDriver.h"
#include "views/ink/Motion.h"

#include <algorithm>

Animation::~Animation()
{
    if (m_running)
        AnimationDriver::instance().remove(this);
}

void Animation::start(QWidget *owner, std::function<void()> onStep, double from, double to, int durationMs,
                      const QEasingCurve &curve)
{
    m_owner = owner;
    m_onStep = std::move(onStep);
    m_curve = curve;
    m_from = from;
    m_to = to;
    m_value = from;
    m_durationMs = durationMs;
    if (Motion::isInstant() || durationMs <= 0 || !owner || !owner->isVisible() || from == to) {
        finish();
        return;
    }
    AnimationDriver &driver = AnimationDriver::instance();
    m_startMs = driver.now();
    m_firstFrame = true;
    m_running = true;
    driver.add(this);
    if (m_onStep)
        m_onStep();
}

void Animation::startTo(QWidget *owner, std::function<void()> onStep, double to, int durationMs,
                        const QEasingCurve &curve)
{
    if (m_running && m_to == to)
        return;
    start(owner, std::move(onStep), m_value, to, durationMs, curve);
}

void Animation::finish()
{
    if (m_running) {
        m_running = false;
        AnimationDriver::instance().remove(this);
    }
    m_value = m_to;
    if (m_onStep)
        m_onStep();
}

void Animation::setValue(double value)
{
    if (m_running) {
        m_running = false;
        AnimationDriver::instance().remove(this);
    }
    m_from = m_to = m_value = value;
}

void Animation::step(qint64 nowMs)
{
    if (!m_owner || !m_owner->isVisible() || Motion::isInstant()) {
        finish();
        return;
    }
    // Work that follows the start on the same turn (a phase's end writes
    // its record, rings its bell) may hold the first frame back: the motion
    // counts from one frame before the first it shows, so none of it is
    // spent before anything is drawn.
    if (m_firstFrame) {
        m_firstFrame = false;
        m_startMs = std::max(m_startMs, nowMs - AnimationDriver::frameMs);
    }
    const double t = double(nowMs - m_startMs) / double(m_durationMs);
    if (t >= 1.0) {
        finish();
        return;
    }
    m_value = Motion::mix(m_from, m_to, m_curve.valueForProgress(std::max(t, 0.0)));
    if (m_onStep)
        m_onStep();
}
