#pragma once

#include "platform/time/Clock.h"

#include <QDateTime>
#include <functional>
#include <map>

// A clock that only moves when told. Due callbacks run in time order during
// advance(), each seeing now() equal to its due time.
class FakeClock : public Clock
{
public:
    explicit FakeClock(const QDateTime &start = QDateTime(QDate(2025, 3, 4), QTime(9, 0)));

    QDateTime now() const override { return m_now; }
    Handle schedule(qint64 ms, std::function<void()> fn) override;
    void cancel(Handle handle) override;

    // Moves time forward by ms, firing every callback that falls due.
    void advance(qint64 ms);
    void advanceSeconds(double seconds) { advance(qint64(seconds * 1000.0)); }
    // Jumps to a time without firing anything (a machine that slept).
    void setNow(const QDateTime &now) { m_now = now; }
    // Fires whatever is due at the current time.
    void fireDue();
    int pendingCount() const { return int(m_pending.size()); }

private:
    struct Pending
    {
        QDateTime due;
        quint64 order;
        std::function<void()> fn;
    };
    QDateTime m_now;
    Handle m_next = 1;
    std::map<Handle, Pending> m_pending;
};
