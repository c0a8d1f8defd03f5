#pragma once

#include "views/ink/Animation.h"
#include "views/ink/Tone.h"
#include "views/reading/Intro.h"

#include <QFont>
#include <QList>
#include <QWidget>
#include <optional>

// One page of the introduction, drawn in the room above the footer: the
// brush circle, the heading, the body and, on the page that has them, the
// terms, as one column centred both ways. It is also the area the pages
// are turned on: a drag sideways and the left and right arrow keys (while
// it has the keyboard focus, which it takes on a click or by Tab and never
// shows as a ring) are reported as signals; the introduction decides what
// they do. Other keys pass on untouched. A new page cross-fades with the
// one it replaces over 0.22 s (ease-out).
class IntroPageBody : public QWidget
{
    Q_OBJECT
public:
    // One line of text as placed on the page.
    struct Run
    {
        QString text;
        QFont font;
        Tone tone;
        QPointF baseline; // where the line's baseline starts
        QRectF box;       // its advance by one line height
    };
    struct Layout
    {
        QRectF enso;
        QList<Run> runs; // heading, body, then each term's word, reading and note
        double height = 0; // the column from the top of the circle to the last line
    };

    explicit IntroPageBody(QWidget *parent = nullptr);

    // Shows a page; animated, it fades in over the one shown before.
    void setPage(const Intro::Page &page, bool animated);
    const Intro::Page &page() const { return m_page; }

    // The page laid out in an area of `size`: the column at most 460 wide
    // (× text scale) with 32 on each side, centred; never above the top
    // edge when the area is too short.
    static Layout layout(QSizeF size, const Intro::Page &page);
    // The height the page's column needs at a width.
    static double contentHeight(double width, const Intro::Page &page);
    static void draw(QPainter &painter, const Layout &layout);

signals:
    // -1 for the left arrow, +1 for the right arrow.
    void arrowKey(int direction);
    // A drag that ended dx pixels to the right of where it began.
    void swiped(double dx);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void describe();

    Intro::Page m_page;
    Intro::Page m_previous;
    Layout m_layout;
    Layout m_previousLayout;
    Animation m_fade;
    std::optional<QPointF> m_pressedAt;
};
