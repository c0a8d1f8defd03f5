#pragma once

#include <QFrame>
#include <QPointer>

// A small window of paper (rounded, with a soft shadow: PopupPanel) that
// opens beside a control (below it unless told otherwise) and closes on a
// click elsewhere, on Escape or by close().
// It holds one content widget; it belongs to its anchor, so it goes when
// the anchor goes. Escape and a click outside close it; dismissed() tells
// the owner, however it closed. Ctrl+W closes it too; Tab goes in reading
// order.
class Popover : public QFrame
{
    Q_OBJECT
public:
    explicit Popover(QWidget *anchor);

    // The content, laid out edge to edge (its own margins pad it).
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    // Opens on the given side of the anchor: Qt::BottomEdge below it,
    // Qt::TopEdge above, Qt::LeftEdge / Qt::RightEdge beside it; it moves
    // to the other side when there is no room and stays on the screen.
    void open(Qt::Edge edge = Qt::BottomEdge);
    // Opens in the same place without taking the keyboard: what the user
    // types still goes where it went. Its buttons take clicks; a click or
    // the wheel elsewhere, Escape in the anchor's window, another popover
    // opened this way, or the program losing the desktop's focus closes it.
    // open() later makes it an ordinary popover.
    void openAside(Qt::Edge edge = Qt::BottomEdge);
    bool isAside() const { return m_aside; }

    // Where a window of `size` opens beside `anchor` (global coordinates)
    // within `screen` (the available area).
    static QPoint placement(const QRect &anchor, const QSize &size, const QRect &screen, Qt::Edge edge, int gap = 6);

signals:
    void dismissed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void hideEvent(QHideEvent *event) override;

private:
    void place(Qt::Edge edge);
    void setAside(bool aside);

    QPointer<QWidget> m_anchor;
    QWidget *m_content = nullptr;
    bool m_aside = false;
    bool m_switching = false;
};
