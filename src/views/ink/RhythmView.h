#pragma once

#include "views/ink/Animation.h"
#include "views/ink/Rhythm.h"

#include <QWidget>

// The one-line strip of a mode's rhythm: a mark per step, then an ellipsis
// when the rhythm repeats. A move of the current step eases the marks'
// sizes and colours over 0.3 s.
class RhythmView : public QWidget
{
    Q_OBJECT
public:
    explicit RhythmView(QWidget *parent = nullptr);

    void setRhythm(const QList<Phase> &phases, bool endless, bool openEnded, std::optional<int> current,
                   double spacing = 7);
    std::optional<int> current() const { return m_current; }
    const QList<Rhythm::Mark> &marks() const { return m_to; }
    bool isMoving() const { return m_move.isRunning(); }

    // The strip for an area of `size`, centred in it; `t` goes from the
    // marks `from` to the marks `to` (lists of the same length; otherwise
    // `to` is drawn).
    static void draw(QPainter &painter, QSizeF size, const QList<Rhythm::Mark> &from,
                     const QList<Rhythm::Mark> &to, double t, bool endless, double spacing);
    static QSizeF naturalSize(const QList<Rhythm::Mark> &marks, bool endless, double spacing);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<Phase> m_phases;
    QList<Rhythm::Mark> m_from;
    QList<Rhythm::Mark> m_to;
    std::optional<int> m_current;
    bool m_endless = false;
    bool m_openEnded = false;
    double m_spacing = 7;
    Animation m_move;
};
