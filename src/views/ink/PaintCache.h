#pragma once

#include <QPixmap>
#include <QSize>
#include <functional>

class QPainter;

// A static layer of a drawing (the paper, the garden), drawn once
// into a pixmap and drawn again only when its size, the device pixel
// ratio, the appearance, the text scale or the caller's own key changes.
class PaintCache
{
public:
    using Draw = std::function<void(QPainter &, QSizeF)>;

    // The layer for a widget of `size` logical pixels on a device of `dpr`.
    const QPixmap &pixmap(QSize size, qreal dpr, const Draw &draw, quint64 key = 0);
    void invalidate() { m_pixmap = QPixmap(); }
    // The device pixels per logical pixel a painter draws at (the device's
    // pixel ratio and any scaling, as when a widget is rendered into a
    // picture of another ratio).
    static qreal deviceScale(const QPainter &painter);
    // How many times the layer was drawn (tests check it is reused).
    int drawCount() const { return m_draws; }

private:
    QPixmap m_pixmap;
    QSize m_size;
    qreal m_dpr = 0;
    int m_appearance = -1;
    double m_scale = 0;
    quint64 m_key = 0;
    int m_draws = 0;
};
