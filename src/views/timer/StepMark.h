#pragma once

#include "views/ink/Animation.h"

#include <QWidget>

// One mark of the preparation's step row: a 5 × 5 dot in ghost ink, which
// stretches into a 34-wide bar while its step is current (0.3 s
// ease-in-out) and fills in vermilion from its leading edge over the
// step's length (linear). Sizes follow the text scale.
class StepMark : public QWidget
{
    Q_OBJECT
public:
    explicit StepMark(QWidget *parent = nullptr);

    void setActive(bool active, double seconds);
    bool isActive() const { return m_active; }
    // The track's width and the fill's width as drawn now.
    double trackWidth() const;
    double fillWidth() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void startFill();
    void stretched();

    bool m_active = false;
    double m_seconds = 4;
    bool m_pendingFill = false;
    Animation m_stretch; // 0 dot, 1 bar
    Animation m_fill;    // 0 empty, 1 full
};
