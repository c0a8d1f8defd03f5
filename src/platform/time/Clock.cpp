#include "platform/time/Clock.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {
Clock *g_override = nullptr;
}

Clock &Clock::current()
{
    if (g_override)
        return *g_override;
    static SystemClock system;
    return system;
}

void Clock::setCurrent(Clock *clock)
{
    g_override = clock;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 SystemClock::nowMSecs() const
{
    return QDateTime::currentMSecsSinceEpoch();
}

Clock::Handle SystemClock::schedule(qint64 ms, std::function<void()> fn)
{
    const Handle handle = m_next++;
    auto *timer = new QTimer;
    timer->setSingleShot(true);
    timer->setTimerType(Qt::CoarseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, [this, handle, fn = std::move(fn)]() {
        auto it = m_timers.find(handle);
        if (it == m_timers.end())
            return;
        it->second->deleteLater();
        m_timers.erase(it);
        fn();
    });
    m_timers.emplace(handle, timer);
    timer->start(int(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max())));
    return handle;
}

void SystemClock::cancel(Handle handle)
{
    auto it = m_timers.find(handle);
    if (it == m_timers.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
}

ClockTimer::ClockTimer(QObject *parent)
    : QObject(parent)
{
}

ClockTimer::~ClockTimer()
{
    stop();
}

void ClockTimer::start()
{
    stop();
    arm();
}

void ClockTimer::start(qint64 ms)
{
    m_interval = ms;
    start();
}

void ClockTimer::stop()
{
    if (m_handle && m_clock)
        m_clock->cancel(m_handle);
    m_handle = 0;
    m_clock = nullptr;
}

void ClockTimer::arm()
{
    m_clock = &Clock::current();
    m_handle = m_clock->schedule(m_interval, [this]() {
        m_handle = 0;
        if (!m_singleShot)
            arm();
        emit timeout();
    });
}

void ClockTimer::singleShot(qint64 ms, QObject *context, std::function<void()> fn)
{
    QPointer<QObject> guard(context);
    Clock::current().schedule(ms, [guard, fn = std::move(fn)]() {
        if (guard)
            fn();
    });
}
