#pragma once

#include <QWidget>

class QAbstractScrollArea;

// The focus ring of a scrolling page or list: one that Tab stops at (so the
// arrows and Page Up/Down scroll it) shows an indigo ring round its edge
// while it has the focus from the keyboard, as a button does. FocusRing
// attaches one to every scroll area and list as it is polished (not to
// text editors, whose caret shows, nor to a widget whose "ownFocusRing"
// property is set); it stays hidden, costing nothing, until it is needed.
class ScrollFocusFrame : public QWidget
{
    Q_OBJECT
public:
    // Gives the area its frame (once).
    static void attach(QAbstractScrollArea *area);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    explicit ScrollFocusFrame(QAbstractScrollArea *area);

    QAbstractScrollArea *m_area;
    bool m_shows = false;
};
