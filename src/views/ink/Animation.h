#pragma once

#include <QEasingCurve>
#include <QPointer>
#include <QWidget>
#include <functional>

// One animated number, moving from a start value to an end value over a
// duration along a curve. Every running Animation is stepped by the one
// AnimationDriver, whose frame timer runs only while some animation runs.
//
// An animation belongs to a widget (usually as a member) and asks it to
// repaint through its step callback; the widget paints from value().
// It never runs while its widget is hidden, and with Motion::isInstant()
// it jumps to its end at once. Its time counts from its first frame, so a
// busy turn after the start does not eat into it.
class Animation
{
public:
    Animation() = default;
    ~Animation();
    Animation(const Animation &) = delete;
    Animation &operator=(const Animation &) = delete;

    // Starts (or restarts) the animation. onStep runs after every change of
    // value(), the last time with value() equal to `to`.
    void start(QWidget *owner, std::function<void()> onStep, double from, double to, int durationMs,
               const QEasingCurve &curve);
    // Starts from the current value towards `to` (a fade that reverses
    // midway continues from where it stands).
    void startTo(QWidget *owner, std::function<void()> onStep, double to, int durationMs, const QEasingCurve &curve);

    // The current value; after the end (or before any start, `idle`) the
    // end value.
    double value() const { return m_value; }
    bool isRunning() const { return m_running; }
    double target() const { return m_to; }
    // Jumps to the end value (one last step).
    void finish();
    // Sets the value without animating and without a step.
    void setValue(double value);

private:
    friend class AnimationDriver;
    void step(qint64 nowMs);

    QPointer<QWidget> m_owner;
    std::function<void()> m_onStep;
    QEasingCurve m_curve;
    double m_from = 0;
    double m_to = 0;
    double m_value = 0;
    qint64 m_startMs = 0;
    int m_durationMs = 0;
    bool m_running = false;
    bool m_firstFrame = false;
};
