#pragma once

#include "views/ink/Animation.h"

#include <QEasingCurve>
#include <QWidget>

class QGraphicsOpacityEffect;

// A box that lets one widget come and go with a motion: the box's height
// moves between nothing and the content's own height while the content
// fades in or out, so what stands below slides instead of jumping. The
// content is always laid out at its full height and the box clips it, so
// nothing in it is squeezed while the box moves. follow() moves the box to
// a new height of its content (rows added or taken away) the same way,
// without a fade. A closed box hides itself, so a layout gives it no
// spacing either.
//
// The content fades through an opacity effect that is switched on only
// while it moves; at rest the box costs nothing.
class Reveal : public QWidget
{
    Q_OBJECT
public:
    explicit Reveal(QWidget *content, QWidget *parent = nullptr);

    void setMotion(int durationMs, const QEasingCurve &curve);
    // Opens (grows to the content's height, fading it in) or closes (shrinks
    // to nothing, fading it out, then hides). At once while the box is not
    // on screen and when motion is instant.
    void setShown(bool shown);
    // The same, without any motion.
    void setShownNow(bool shown);
    bool isShown() const { return m_shown; }
    // The content's height has changed: move to it over the motion.
    void follow();

    QWidget *content() const { return m_content; }
    bool isMoving() const { return m_move.isRunning(); }
    // The content's opacity (1 at rest while shown).
    double opacity() const;
    // The content's full height at a width.
    int naturalHeight(int width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    // The box's height changed in a step of its motion (hosts that place
    // their widgets by hand follow it).
    void stepped();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void startMove(double fadeTo);
    void onStep();
    void placeContent();

    QWidget *m_content;
    QGraphicsOpacityEffect *m_effect;
    Animation m_move; // 0 → 1 along the motion
    int m_durationMs = 200;
    QEasingCurve m_curve;
    bool m_shown = true;
    int m_fromHeight = 0;
    double m_fadeFrom = 1;
    double m_fadeTo = 1;
};
