#include "platform/Clock.h"

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

FakeClock::FakeClock(const QDateTime &start)
    : m_now(start)
{
}

Clock::Handle FakeClock::schedule(qint64 ms, std::function<void()> fn)
{
    const Handle handle = m_next++;
    m_pending.emplace(handle, Pending{m_now.addMSecs(std::max<qint64>(ms, 0)), handle, std::move(fn)});
    return handle;
}

void FakeClock::cancel(Handle handle)
{
    m_pending.erase(handle);
}

void FakeClock::advance(qint64 ms)
{
    const QDateTime target = m_now.addMSecs(ms);
    for (;;) {
        auto next = m_pending.end();
        for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
            if (it->second.due > target)
                continue;
            if (next == m_pending.end() || it->second.due < next->second.due
                || (it->second.due == next->second.due && it->second.order < next->second.order))
                next = it;
        }
        if (next == m_pending.end())
            break;
        if (next->second.due > m_now)
            m_now = next->second.due;
        auto fn = std::move(next->second.fn);
        m_pending.erase(next);
        fn();
    }
    m_now = target;
}

void FakeClock::fireDue()
{
    advance(0);
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
