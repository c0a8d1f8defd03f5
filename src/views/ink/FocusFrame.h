#pragma once

#include <QWidget>

// The focus ring of a widget that stands for a whole page or list: one that
// Tab stops at (so the arrows and Page Up/Down scroll it, or turn its
// pages) shows an indigo ring round its edge while it has the focus from
// the keyboard, as a button does. FocusRing attaches one to every scroll
// area and list as it is polished (not to text editors, whose caret shows,
// nor to a widget whose "ownFocusRing" property is set); other page-like
// widgets attach one themselves. It stays hidden, costing nothing, until it
// is needed.
class FocusFrame : public QWidget
{
    Q_OBJECT
public:
    // Gives the widget its frame (once).
    static void attach(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    explicit FocusFrame(QWidget *host);

    QWidget *m_host;
    bool m_shows = false;
};
