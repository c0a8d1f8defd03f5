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
    qint64 now() const { return m_clock.elapsed(); }

    static constexpr int frameMs = 16;

private:
    friend class Animation;
    AnimationDriver();
    void add(Animation *animation);
    void remove(Animation *animation);
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    QList<Animation *> m_running;
};
