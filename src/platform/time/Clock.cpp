#include "platform/time/Clock.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
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

// One Qt timer and the call its current wait ends with. Its connection is
// made once; the call is taken out before it runs, so the call may schedule
// again (and get this same timer) or cancel anything.
struct SystemClock::Wait
{
    QTimer timer;
    Handle handle = 0;
    std::function<void()> fn;
};

SystemClock::SystemClock() = default;

SystemClock::~SystemClock()
{
    // The process-wide clock goes with the program's statics, after the
    // application and its event dispatchers: its timers are left to the
    // operating system then, as deleting one would reach a dispatcher that is
    // gone.
    if (!QCoreApplication::instance())
        return;
    for (auto &[handle, wait] : m_waiting)
        delete wait;
    for (Wait *wait : m_free)
        delete wait;
}

Clock::Handle SystemClock::schedule(qint64 ms, std::function<void()> fn)
{
    Wait *wait = nullptr;
    for (auto it = m_free.rbegin(); it != m_free.rend(); ++it) {
        if ((*it)->timer.thread() == QThread::currentThread()) {
            wait = *it;
            m_free.erase(std::next(it).base());
            break;
        }
    }
    if (!wait) {
        wait = new Wait;
        wait->timer.setSingleShot(true);
        wait->timer.setTimerType(Qt::CoarseTimer);
        QObject::connect(&wait->timer, &QTimer::timeout, &wait->timer, [this, wait] {
            if (!wait->handle)
                return;
            std::function<void()> call = std::move(wait->fn);
            m_waiting.erase(wait->handle);
            release(wait);
            call();
        });
    }
    const Handle handle = m_next++;
    wait->handle = handle;
    wait->fn = std::move(fn);
    m_waiting.emplace(handle, wait);
    wait->timer.start(int(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max())));
    return handle;
}

void SystemClock::cancel(Handle handle)
{
    auto it = m_waiting.find(handle);
    if (it == m_waiting.end())
        return;
    Wait *wait = it->second;
    m_waiting.erase(it);
    wait->timer.stop();
    // What the call holds is let go of at once, not when the timer next
    // serves; after the timer is back among the free ones, in case letting
    // go of it schedules or cancels again.
    std::function<void()> dropped = std::move(wait->fn);
    release(wait);
}

void SystemClock::release(Wait *wait)
{
    wait->handle = 0;
    wait->fn = nullptr;
    m_free.push_back(wait);
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
