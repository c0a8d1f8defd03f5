#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QRegion>
#include <functional>

class QPainter;
class QWidget;

// Paints the frames of a widget that moves by itself (the faces of a
// running round) without handing pieces of them to other threads.
//
// Qt's raster engine splits every fill that covers more than a few dozen
// lines (the incense stick, the ring's arc, the paper under a face) into
// pieces for Qt's global thread pool, and the painting thread waits for
// them. From the main thread one incense frame went out in some twenty
// pieces, woke all eight pool threads 50 times a second, and the hand-overs
// cost more than the drawing. So a small part (what a frame of the incense
// moves) is drawn on the calling thread, straight onto the page, in bands
// of a limited number of device lines, each drawn clipped on its own, which
// no fill of the engine exceeds: nothing is split, no other thread wakes and
// no picture of the frame is made first. A larger part (a whole face) is
// drawn in one piece on the pool's frame thread (FrameWorker), where no
// fill is split: one hand-over, while the main thread waits for it. When no
// pool thread can be had it is drawn on the calling thread. A face whose
// drawing slices its own tall fills (the incense) is drawn in place however
// large the part, where a logical pixel is one device pixel; at higher
// ratios the long, nearly level edges of its bowl would still be split.
//
// The frame is drawn over the paper the widget stands on, so the widget is
// opaque: a frame repaints the widget alone, not the paper and the pages
// behind it. A widget that stands on no paper (a picture of it alone) gets
// a transparent frame over what its parent paints.
//
// The drawing runs while the main thread waits, so it may read the theme
// and the widget's own caches, but must touch no other widget.
class FrameCanvas : public QObject
{
    Q_OBJECT
public:
    using Draw = std::function<void(QPainter &, QSizeF)>;

    // `inPlaceAtOne`: the drawing splits none of its fills where a logical
    // pixel is one device pixel (it draws its tall shapes slice by slice),
    // so there a part of any size is drawn in place.
    explicit FrameCanvas(QWidget *owner, bool inPlaceAtOne = false);

    // From the owner's paintEvent: draws the frame and puts it on `painter`.
    void paint(QPainter &painter, const Draw &draw);
    // The same for the part `dirty` of the owner alone (its paint event's
    // region): only that part is drawn and put on the page.
    void paint(QPainter &painter, const QRegion &dirty, const Draw &draw);

    // Whether the last frame was drawn on a pool thread (tests).
    bool lastFrameWasPooled() const { return m_pooled; }

    // The tallest band drawn in one go on the calling thread.
    static constexpr int kBandLines = 250;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void findPaper();

    QWidget *m_owner;
    bool m_inPlaceAtOne;
    QImage m_frame;
    bool m_onPaper = false;
    bool m_pooled = false;
};
