#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <cmath>

// Draws a shape slice by slice, each slice clipped to a few whole device
// lines, so that Qt's raster engine does not split its fills.
//
// The engine hands a fill of many spans to Qt's pool in pieces and waits
// for them. A tall, thin shape filled in one go (the incense's trace and
// stick) gives that many, and so does any antialiased shape in a colour that
// is not opaque every few lines, even a 16-pixel icon. Drawn a slice at a
// time, no fill reaches that many and the shape is drawn on the calling
// thread alone, with the same pixels.
namespace DeviceSlices {

// `top` and `bottom` (logical) bound the shape; `paint(from, to)` draws it
// for a slice from `from` to `to` (logical), and may leave out what lies
// well outside them. Under a clip only the slices within it are drawn.
template <typename Paint>
void paint(QPainter &painter, double top, double bottom, int lines, const Paint &paint)
{
    // On one of the pool's own threads the engine splits nothing.
    if (QThreadPool::globalInstance()->contains(QThread::currentThread())) {
        paint(top, bottom);
        return;
    }
    const QTransform device = painter.deviceTransform();
    const double scale = device.m22(), dy = device.dy();
    int first = int(std::floor(top * scale + dy)) - 1;
    int last = int(std::ceil(bottom * scale + dy)) + 1;
    // Under a clip only the slices within it: a layer drawn again in a
    // small part does not go down the whole shape.
    if (painter.hasClipping()) {
        const QRectF clip = device.mapRect(painter.clipBoundingRect());
        first = std::max(first, int(std::floor(clip.top())) - 1);
        last = std::min(last, int(std::ceil(clip.bottom())) + 1);
    }
    for (int y = first; y < last; y += lines) {
        const int end = std::min(y + lines, last);
        const double from = (y - dy) / scale, to = (end - dy) / scale;
        painter.save();
        painter.setClipRect(QRectF(QPointF(-1e4, from), QPointF(1e4, to)), Qt::IntersectClip);
        paint(from, to);
        painter.restore();
    }
}

// The most device lines copied from an image in one go by copy().
constexpr int kCopyLines = 48;

// Puts the part `region` (logical pixels) of `image`, a picture of the
// painter's whole area at the image's own device ratio, onto the painter.
// Rectangle by rectangle, and at most kCopyLines device lines at a time:
// the engine splits a copy of more lines than that, or one into a region
// of many rectangles, into pieces for Qt's pool.
inline void copy(QPainter &painter, const QImage &image, const QRegion &region)
{
    const qreal dpr = image.devicePixelRatio();
    const int lines = std::max(1, int(kCopyLines / dpr));
    for (const QRect &rect : region) {
        for (int y = rect.top(); y <= rect.bottom(); y += lines) {
            const QRectF target(QPointF(rect.left(), y),
                                QPointF(rect.right() + 1, std::min(y + lines, rect.bottom() + 1)));
            painter.drawImage(target, image, QRectF(target.topLeft() * dpr, target.size() * dpr));
        }
    }
}

} // namespace DeviceSlices
