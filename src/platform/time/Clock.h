#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>
#include <map>
#include <vector>

// The program's one source of time. Everything that reads "now" or waits goes
// through the current clock, so tests can install a fake clock and move time
// by hand instead of sleeping.
class Clock
{
public:
    using Handle = quint64;

    virtual ~Clock() = default;

    // The current wall-clock time.
    virtual QDateTime now() const = 0;
    // The same instant as milliseconds since 1970 UTC, for what runs many
    // times a second and needs no calendar (a face's frame): the system
    // clock gives it without converting to local time.
    virtual qint64 nowMSecs() const { return now().toMSecsSinceEpoch(); }

    // Calls fn once after ms milliseconds; returns a handle for cancel().
    virtual Handle schedule(qint64 ms, std::function<void()> fn) = 0;
    virtual void cancel(Handle handle) = 0;

    // The process-wide clock: the system clock unless a test set another.
    static Clock &current();
    // Installs a clock (not owned); nullptr restores the system clock.
    static void setCurrent(Clock *clock);
};

// Wall-clock time from the system; waits run on Qt timers of the calling thread.
// A timer whose wait is over or cancelled is kept for the next wait on its
// thread: a ticker that waits again after every tick (the engine's, several
// times a second) then neither makes a timer each time nor has the event loop
// delete one.
class SystemClock : public Clock
{
public:
    SystemClock();
    ~SystemClock() override;
    QDateTime now() const override;
    qint64 nowMSecs() const override;
    Handle schedule(qint64 ms, std::function<void()> fn) override;
    void cancel(Handle handle) override;

private:
    struct Wait;
    void release(Wait *wait);
    Handle m_next = 1;
    std::map<Handle, Wait *> m_waiting;
    std::vector<Wait *> m_free;
};

// A QTimer-like object on the current clock.
class ClockTimer : public QObject
{
    Q_OBJECT
public:
    explicit ClockTimer(QObject *parent = nullptr);
    ~ClockTimer() override;

    void setInterval(qint64 ms) { m_interval = ms; }
    qint64 interval() const { return m_interval; }
    void setSingleShot(bool singleShot) { m_singleShot = singleShot; }
    bool isSingleShot() const { return m_singleShot; }
    bool isActive() const { return m_handle != 0; }

    void start();
    void start(qint64 ms);
    void stop();

    // Calls fn once after ms on the current clock, unless context is gone by then.
    static void singleShot(qint64 ms, QObject *context, std::function<void()> fn);

signals:
    void timeout();

private:
    void arm();
    Clock *m_clock = nullptr;
    Clock::Handle m_handle = 0;
    qint64 m_interval = 0;
    bool m_singleShot = false;
};
