#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <functional>

class QPainter;

// A static layer of a drawing (the paper, the garden), drawn once
// into an image and drawn again only when its size, the device pixel
// ratio, the appearance, the text scale or the caller's own key changes.
//
// The layer is a QImage, not a QPixmap, so that a face painted on one of
// the pool's threads (FrameCanvas) can keep its layers too. A cache is used
// by one painting at a time: its owner's, on whichever thread that runs.
class PaintCache
{
public:
    // An opaque cache holds a layer that covers every pixel (the paper), kept
    // in the window's own 32-bit format so that it is copied, not blended.
    explicit PaintCache(bool opaque = false)
        : m_opaque(opaque)
    {
    }

    using Draw = std::function<void(QPainter &, QSizeF)>;
    // Writes every pixel of `pixels` (its size is the layer's size in
    // device pixels) for a layer of `size` logical pixels at `scale`
    // device pixels per logical pixel.
    using Fill = std::function<void(QImage &pixels, QSizeF size, qreal scale)>;

    // The layer for a widget of `size` logical pixels on a device of `dpr`.
    const QImage &image(QSize size, qreal dpr, const Draw &draw, quint64 key = 0);
    // The same for an opaque layer whose pixels are written one by one (the
    // paper): written straight into the kept image, with no clearing and no
    // second image to copy from.
    const QImage &image(QSize size, qreal dpr, const Fill &fill);
    // The same for a layer of which a new key changes only the part
    // `changed` (logical pixels): when nothing else changed, only that part
    // is cleared and drawn again, rectangle by rectangle, each drawn clipped
    // to its own device pixels; the rest is kept as it is.
    const QImage &image(QSize size, qreal dpr, const Draw &draw, quint64 key, const QRegion &changed);
    // The key the layer was last drawn for.
    quint64 key() const { return m_key; }
    void invalidate() { m_image = QImage(); }
    // The device pixels per logical pixel a painter draws at (the device's
    // pixel ratio and any scaling, as when a widget is rendered into a
    // picture of another ratio).
    static qreal deviceScale(const QPainter &painter);
    // How many times the layer was drawn (tests check it is reused).
    int drawCount() const { return m_draws; }

private:
    // Whether the layer kept is the one for this size, ratio, appearance
    // and text scale (its key aside).
    bool holds(QSize size, qreal dpr) const;
    // Records what the layer is now for; false (and no layer) when empty.
    bool remember(QSize size, qreal dpr);
    // The kept image made the layer's size in device pixels and `format`,
    // its memory reused when it already is.
    void reshape(QSize size, qreal dpr, QImage::Format format);

    QImage m_image;
    QSize m_size;
    qreal m_dpr = 0;
    int m_appearance = -1;
    double m_scale = 0;
    quint64 m_key = 0;
    int m_draws = 0;
    bool m_opaque;
};
