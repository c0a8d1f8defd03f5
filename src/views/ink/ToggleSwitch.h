#pragma once

#include "views/ink/Animation.h"
#include "views/ink/InkButton.h"

// An on/off switch: a small capsule track, indigo when on and a faint ink
// when off, with a knob that slides across over 0.15 s (raised paper in
// light, the ink's own light tone in dark, where a paper knob would sink
// into the track). It is
// checkable; a click, Space or Return flips it and emits toggled(). Tab
// reaches it and a keyboard focus shows as an indigo ring (as on every
// InkButton). It has no label of its own: give it the accessible name of the
// setting it changes.
class ToggleSwitch : public InkButton
{
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget *parent = nullptr);

    // The knob's place: 0 off, 1 on, in between while sliding.
    double knob() const { return m_knob.value(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The switch in an area of `size`, at a knob place and enabled or not.
    static void draw(QPainter &painter, QSizeF size, double knob, bool enabled, bool focusRing);
    // The knob's colour in the appearance in effect (the sliders' knob too).
    static QColor knobColour();

protected:
    void paintEvent(QPaintEvent *event) override;
    void checkStateSet() override;
    void nextCheckState() override;

private:
    void slide();

    Animation m_knob;
};
