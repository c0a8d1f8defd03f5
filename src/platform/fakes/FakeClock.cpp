#include "platform/fakes/FakeClock.h"

#include <algorithm>

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
