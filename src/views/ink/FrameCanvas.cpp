#include "views/ink/FrameCanvas.h"

#include "views/ink/DeviceSlices.h"
#include "views/ink/FrameWorker.h"
#include "views/ink/KivBackground.h"
#include "views/ink/PaintCache.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>
#include <cmath>

FrameCanvas::FrameCanvas(QWidget *owner, bool inPlaceAtOne)
    : QObject(owner)
    , m_owner(owner)
    , m_inPlaceAtOne(inPlaceAtOne)
{
    owner->installEventFilter(this);
    findPaper();
}

bool FrameCanvas::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner && (event->type() == QEvent::Show || event->type() == QEvent::ParentChange))
        findPaper();
    return false;
}

void FrameCanvas::findPaper()
{
    m_onPaper = KivBackground::under(m_owner, nullptr) != nullptr;
    m_owner->setAttribute(Qt::WA_OpaquePaintEvent, m_onPaper);
}

void FrameCanvas::paint(QPainter &painter, const Draw &draw)
{
    paint(painter, QRegion(m_owner->rect()), draw);
}

void FrameCanvas::paint(QPainter &painter, const QRegion &dirty, const Draw &draw)
{
    const QSize size = m_owner->size();
    const QRegion region = dirty & m_owner->rect();
    const QRect part = region.boundingRect();
    if (size.isEmpty() || part.isEmpty())
        return;
    const qreal dpr = PaintCache::deviceScale(painter);
    QPoint offset;
    KivBackground *paper = m_onPaper ? KivBackground::under(m_owner, &offset) : nullptr;
    const QImage::Format format = paper ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    // The paper's layer is drawn here, on the main thread, if it is not yet.
    const QImage backdrop = paper ? paper->layer(dpr) : QImage();

    // The part in bands of whole device lines, each at most kBandLines.
    const int top = int(std::floor(part.top() * dpr));
    const int bottom = int(std::ceil((part.bottom() + 1) * dpr));
    const int bands = std::max(1, (bottom - top + kBandLines - 1) / kBandLines);
    // Each band of `area` on `p`, clipped to its device lines (the last one
    // ends with the area) and to `within` when that is a region of many
    // rectangles: the paper there, then the drawing.
    const bool several = region.rectCount() > 1;
    const QRect whole = m_owner->rect();
    auto drawBands = [&draw, &backdrop, offset, size, dpr, whole](QPainter &p, const QRect &area, const QRegion &within,
                                                                  int bandCount, int from, int to) {
        for (int band = 0; band < bandCount; ++band) {
            const int first = from + (to - from) * band / bandCount;
            const int last = from + (to - from) * (band + 1) / bandCount;
            const QRectF lines(area.left(), first / dpr, area.width(), (last - first) / dpr);
            const QRectF clip = bandCount > 1 ? lines & QRectF(area) : QRectF(area);
            p.save();
            if (within.rectCount() > 1)
                p.setClipRegion(within & clip.toAlignedRect());
            else if (bandCount > 1 || area != whole)
                p.setClipRect(clip);
            if (!backdrop.isNull())
                p.drawImage(QRectF(area), backdrop,
                            QRectF(QPointF(offset + area.topLeft()) * dpr, QSizeF(area.size()) * dpr));
            draw(p, QSizeF(size));
            p.restore();
        }
    };
    m_pooled = false;
    if (several && m_inPlaceAtOne && dpr == 1) {
        // A drawing that slices its own tall fills, at one device pixel a
        // logical one: each rectangle of the region is drawn on its own,
        // in place, clipped to it alone (the drawing skips what lies
        // outside it), so no fill meets a clip of many rectangles.
        for (const QRect &r : region)
            drawBands(painter, r, QRegion(), 1, r.top(), r.bottom() + 1);
        return;
    }
    if ((bands <= 1 || (m_inPlaceAtOne && dpr == 1)) && !several) {
        // Small enough to draw here: straight onto the page, over the paper
        // or over what the parent painted under a transparent widget. (Under
        // a clip of many rectangles the engine would split the fills.)
        drawBands(painter, part, QRegion(), bands, top, bottom);
        return;
    }

    const QSize pixels(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr)));
    if (m_frame.size() != pixels || m_frame.format() != format || m_frame.devicePixelRatio() != dpr) {
        m_frame = QImage(pixels, format);
        m_frame.setDevicePixelRatio(dpr);
    }
    // A larger part is drawn whole into the frame on the pool's frame
    // thread, where no fill is split, then put on the page.
    const std::function<void()> frame = [this, &drawBands, &backdrop, &region, part, top, bottom] {
        if (backdrop.isNull())
            m_frame.fill(Qt::transparent);
        QPainter p(&m_frame);
        drawBands(p, part, region, 1, top, bottom);
    };
    m_pooled = FrameWorker::run(frame);
    if (!m_pooled)
        frame();
    if (part == whole && !several) {
        painter.drawImage(QPointF(0, 0), m_frame);
    } else if (several) {
        // Under the clip of a region of many rectangles a copy goes line by
        // line, and one copy of the whole, or of a tall rectangle, would be
        // split into pieces for the pool again.
        DeviceSlices::copy(painter, m_frame, region);
    } else {
        painter.drawImage(QRectF(part), m_frame, QRectF(QPointF(part.topLeft()) * dpr, QSizeF(part.size()) * dpr));
    }
}
