#include "views/ink/SoftShadow.h"

#include "views/ink/PaintCache.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <vector>

namespace {
// One box pass of width 2·r + 1 along rows (horizontal) or columns: each
// pixel becomes the mean of the window around it (rounded down), pixels
// beyond the edge counting as transparent.
void boxPass(QImage &image, int r, bool horizontal)
{
    if (r <= 0)
        return;
    const int w = image.width(), h = image.height();
    const int lines = horizontal ? h : w;
    const int length = horizontal ? w : h;
    const int window = 2 * r + 1;
    // The line with r transparent pixels at either end.
    std::vector<quint32> padded(static_cast<size_t>(length + 2 * r), 0);
    // sum / window, rounded down, as a multiplication: exact while
    // 255 · window² < 2²⁴, that is for windows under 256 pixels.
    const bool exact = window < 256;
    const quint64 reciprocal = ((quint64(1) << 24) + quint64(window) - 1) / quint64(window);
    auto mean = [&](int sum) {
        return exact ? quint32((quint64(sum) * reciprocal) >> 24) : quint32(sum / window);
    };
    auto *bits = reinterpret_cast<quint32 *>(image.bits());
    const qsizetype stride = image.bytesPerLine() / 4;
    // Along a row the pixels are next to each other; down a column they are
    // a row apart.
    const qsizetype step = horizontal ? 1 : stride;
    for (int line = 0; line < lines; ++line) {
        quint32 *start = horizontal ? bits + line * stride : bits + line;
        for (int i = 0; i < length; ++i)
            padded[size_t(i + r)] = start[i * step];
        int a = 0, red = 0, green = 0, blue = 0;
        for (int i = 0; i < 2 * r; ++i) {
            const quint32 p = padded[size_t(i)];
            a += int(p >> 24);
            red += int((p >> 16) & 0xff);
            green += int((p >> 8) & 0xff);
            blue += int(p & 0xff);
        }
        for (int i = 0; i < length; ++i) {
            const quint32 in = padded[size_t(i + 2 * r)];
            a += int(in >> 24);
            red += int((in >> 16) & 0xff);
            green += int((in >> 8) & 0xff);
            blue += int(in & 0xff);
            start[i * step] = (mean(a) << 24) | (mean(red) << 16) | (mean(green) << 8) | mean(blue);
            const quint32 out = padded[size_t(i)];
            a -= int(out >> 24);
            red -= int((out >> 16) & 0xff);
            green -= int((out >> 8) & 0xff);
            blue -= int(out & 0xff);
        }
    }
}
} // namespace

namespace SoftShadow {

void blur(QImage &image, double sigma)
{
    if (sigma <= 0 || image.isNull())
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
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.translate(-bounds.topLeft() + offset);
        QColor opaque = colour;
        opaque.setAlpha(255);
        p.fillPath(shape, opaque);
    }
    blur(image, radius / 2.0 * scale);
    painter.save();
    painter.setOpacity(painter.opacity() * colour.alphaF());
    painter.drawImage(bounds, image);
    painter.restore();
}

} // namespace SoftShadow
