#pragma once

#include "views/ink/Animation.h"

#include <QWidget>

// The breathing circle of the preparation's breath step: a thin circle,
// 96 wide in a band 100 high (both following the text scale) that keeps its
// place while hidden. Made active it shows and draws one breath: it grows
// from 0.3 to full size over 0.4 of the breath (ease-in-out), then shrinks
// back over the remaining 0.6. Made inactive it hides and its swell resets.
class BreathMark : public QWidget
{
    Q_OBJECT
public:
    explicit BreathMark(QWidget *parent = nullptr);

    void setActive(bool active, double seconds);
    bool isActive() const { return m_active; }
    // The circle's scale now (0.3 … 1) and its opacity (0 hidden … 1).
    double swell() const;
    double opacity() const { return m_show.value(); }
    bool isBreathing() const { return m_in.isRunning() || m_out.isRunning(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void breathe();
    // The part of the widget the circle may cover, and a repaint of it.
    QRect markRect() const;
    void updateMark();

    bool m_active = false;
    double m_seconds = 4;
    bool m_exhaling = false;
    bool m_pending = false; // made active before it showed: breathes when it does
    Animation m_show; // 0 hidden, 1 shown
    Animation m_in;   // 0.3 → 1
    Animation m_out;  // 1 → 0.3
};
