#pragma once

#include "views/ink/PaintCache.h"

#include <QWidget>

// The sheet of paper behind the main window and the reading pages: the
// paper colour, lit by a soft glow near the top centre and darkened by a
// faint shade towards the bottom. Put it behind a page (as the page's
// parent, or under it in a stacked layout); it fills whatever it is given.
class KivBackground : public QWidget
{
    Q_OBJECT
public:
    explicit KivBackground(QWidget *parent = nullptr);

    // The paper for an area of `size`, in the appearance in effect.
    static void draw(QPainter &painter, QSizeF size);
    // The same written into every pixel of `image`, which covers an area of
    // `size` logical pixels at `scale` device pixels per logical pixel.
    static void write(QImage &image, QSizeF size, qreal scale);

    const PaintCache &cache() const { return m_cache; }
    // The paper as this background shows it, at `dpr` device pixels per
    // logical pixel (drawn when first asked for, then kept).
    const QImage &layer(qreal dpr);

    // The paper that shows behind `widget`: the nearest background that
    // stands under it (a child of one of its ancestors, lowest in that
    // ancestor's stack, covering the widget), with the widget's place in it.
    // Null where the widget stands on no paper of this kind (a picture of
    // it alone).
    static KivBackground *under(const QWidget *widget, QPoint *offset);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PaintCache m_cache;
};
