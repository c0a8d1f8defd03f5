#pragma once

#include "views/ink/Animation.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>

class QEasingCurve;

// A cross-fade of a widget from what it showed to what it shows now.
// capture() takes a picture of the widget as it stands on screen (the paper
// under it and everything over it), the caller changes the widget, and
// play() lays the picture over the widget and fades it out, so the old look
// dissolves into the new one. The picture goes when the fade ends, and the
// cover lets every click through to the widget under it.
//
// A capture during a fade takes the blend on screen, so a change that
// follows another continues from what the user sees. The picture stands
// centred across the widget (whose content is centred) and from its top.
class Crossfade : public QObject
{
    Q_OBJECT
public:
    explicit Crossfade(QWidget *target);
    ~Crossfade() override;

    // Takes the picture; false (and nothing to play) while the widget is not
    // on screen or motion is instant.
    bool capture();
    // Fades the captured picture out over the duration.
    void play(int durationMs, const QEasingCurve &curve);
    // Drops a fade under way (the widget shows its present look).
    void stop();

    bool isRunning() const { return m_fade.isRunning(); }
    // The opacity of the old picture over the widget (0 at rest).
    double level() const { return m_fade.isRunning() ? m_fade.value() : 0; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Cover;

    QWidget *m_target;
    QPointer<Cover> m_cover;
    QPixmap m_picture;
    Animation m_fade;
};
