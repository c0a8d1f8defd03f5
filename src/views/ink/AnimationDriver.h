#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

class Animation;

// The one frame timer of the process: it steps every running Animation
// about sixty times a second and stops as soon as none runs, so a still
// window causes no wake-ups.
class AnimationDriver : public QObject
{
    Q_OBJECT
public:
    static AnimationDriver &instance();

    bool isTicking() const { return m_timer.isActive(); }
    int runningCount() const { return int(m_running.size()); }
    qint64 now() const { return m_manual ? m_manualNow : m_clock.elapsed(); }
    // Frames that stepped at least one animation since the process began.
    qint64 frames() const { return m_frames; }

    // Tests: time passes only through advance(), which steps the running
    // animations frame by frame as the timer would. The frame timer still
    // starts and stops as it does in use (so tests see when it would run),
    // but its own ticks then do nothing.
    void setManualTime(bool manual);
    bool isManualTime() const { return m_manual; }
    // Moves the manual clock on by `ms`, one frame at a time.
    void advance(int ms);
    // Moves the manual clock on by `ms` with no frame, as a busy turn does.
    void stall(int ms);

    static constexpr int frameMs = 16;

private:
    friend class Animation;
    AnimationDriver();
    void add(Animation *animation);
    void remove(Animation *animation);
    void tick();
    void step();

    QTimer m_timer;
    QElapsedTimer m_clock;
    QList<Animation *> m_running;
    qint64 m_frames = 0;
    bool m_manual = false;
    qint64 m_manualNow = 0;
};
