#include "views/ink/SoftShadow.h"

#include "views/ink/PaintCache.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <vector>

namespace {
// One box pass of width 2·r + 1 along rows (horizontal) or columns of an
// 8-bit coverage mask: each pixel becomes the mean of the window around it
// (rounded down), pixels beyond the edge counting as uncovered.
void boxPass(QImage &mask, int r, bool horizontal)
{
    if (r <= 0)
        return;
    const int w = mask.width(), h = mask.height();
    const int lines = horizontal ? h : w;
    const int length = horizontal ? w : h;
    const int window = 2 * r + 1;
    // The line with r uncovered pixels at either end.
    std::vector<int> padded(static_cast<size_t>(length + 2 * r), 0);
    // sum / window, rounded down, as a multiplication: exact while
    // 255 · window² < 2²⁴, that is for windows under 256 pixels.
    const bool exact = window < 256;
    const quint64 reciprocal = ((quint64(1) << 24) + quint64(window) - 1) / quint64(window);
    uchar *bits = mask.bits();
    const qsizetype stride = mask.bytesPerLine();
    // Along a row the pixels are next to each other; down a column they are
    // a row apart.
    const qsizetype step = horizontal ? 1 : stride;
    for (int line = 0; line < lines; ++line) {
        uchar *start = horizontal ? bits + line * stride : bits + line;
        for (int i = 0; i < length; ++i)
            padded[size_t(i + r)] = start[i * step];
        int sum = 0;
        for (int i = 0; i < 2 * r; ++i)
            sum += padded[size_t(i)];
        for (int i = 0; i < length; ++i) {
            sum += padded[size_t(i + 2 * r)];
            start[i * step] = uchar(exact ? (quint64(sum) * reciprocal) >> 24 : quint64(sum / window));
            sum -= padded[size_t(i)];
        }
    }
}
} // namespace

namespace SoftShadow {

void blur(QImage &image, double sigma)
{
    if (sigma <= 0 || image.isNull() || image.format() != QImage::Format_Alpha8)
        return;
    // Three boxes of width w give a variance of 3·(w² − 1)/12 = σ².
    const int r = std::max(1, int(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(image, r, true);
        boxPass(image, r, false);
    }
}

void draw(QPainter &painter, const QPainterPath &shape, const QColor &colour, double radius, QPointF offset)
{
    if (shape.isEmpty() || colour.alpha() == 0)
        return;
    const double scale = PaintCache::deviceScale(painter);
    const double pad = radius * 2 + 1;
    const QRectF bounds = shape.boundingRect().translated(offset).adjusted(-pad, -pad, pad, pad);
    const QSize pixels(int(std::ceil(bounds.width() * scale)), int(std::ceil(bounds.height() * scale)));
    if (pixels.isEmpty() || pixels.width() > 8192 || pixels.height() > 8192)
        return;
    // The shape's coverage is blurred alone, then coloured: the shadow is
    // one colour, so its four channels would blur alike.
    QImage mask(pixels, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.translate(-bounds.topLeft() + offset);
        p.fillPath(shape, Qt::black);
    }
    blur(mask, radius / 2.0 * scale);
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    const QRgb rgb = colour.rgb();
    for (int y = 0; y < pixels.height(); ++y) {
        const uchar *in = mask.constScanLine(y);
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            out[x] = qPremultiply(qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), in[x]));
    }
    painter.save();
    painter.setOpacity(painter.opacity() * colour.alphaF());
    painter.drawImage(bounds, image);
    painter.restore();
}

} // namespace SoftShadow
