#include "views/timer/RingView.h"

#include "core/Kiv.h"
#include "views/ink/FrameCanvas.h"
#include "views/ink/FrameTicker.h"
#include "views/ink/LayoutRole.h"
#include "views/ink/Motion.h"
#include "views/timer/FaceTime.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kRadius = RingView::kSide / 2;

const QEasingCurve &easeInOut()
{
    static const QEasingCurve curve = Motion::easeInOut();
    return curve;
}

// Where on the way up (0 … 1) the breathing stands at `scale`.
double swellFraction(double scale)
{
    return std::clamp((scale - 1) / (RingView::kSwell - 1), 0.0, 1.0);
}

// The inverse of the easing curve, for a breathing that resumes from where
// a settling stands.
double easedInverse(double value)
{
    double lo = 0, hi = 1;
    for (int i = 0; i < 24; ++i) {
        const double mid = (lo + hi) / 2;
        (easeInOut().valueForProgress(mid) < value ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}
} // namespace

RingView::RingView(QWidget *parent)
    : QWidget(parent)
    , m_ticker(new FrameTicker(this, kFrameMs, [this] { tick(); }))
    , m_canvas(new FrameCanvas(this))
    , m_most(int(kSide) + 2 * kMargin)
    , m_least(int(std::ceil(kLeastShare * m_most)))
{
    // As wide as its frame; as tall as the column leaves it, within limits.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setFixedWidth(m_most);
    setMinimumHeight(m_least);
    setMaximumHeight(m_most);
    LayoutRole::setPaintedFace(this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize RingView::sizeHint() const
{
    return {m_most, m_most};
}

QSize RingView::minimumSizeHint() const
{
    return {m_most, m_least};
}

double RingView::sideToHold(QSizeF box)
{
    const double reach = std::hypot(box.width(), box.height()) / 2;
    const double own = kSide + 2 * kMargin;
    return std::ceil(own * reach / (kRadius - kHoleGap));
}

void RingView::hold(QSizeF box)
{
    const int own = int(kSide) + 2 * kMargin;
    const int needed = int(sideToHold(box));
    const int most = std::max(own, needed);
    const int least = std::max(int(std::ceil(kLeastShare * own)), needed);
    if (most == m_most && least == m_least)
        return;
    m_most = most;
    m_least = least;
    setFixedWidth(m_most);
    setMinimumHeight(m_least);
    setMaximumHeight(m_most);
    updateGeometry();
    update();
}

double RingView::drawnShare() const
{
    return std::min(width(), height()) / (kSide + 2 * kMargin);
}

double RingView::breath(double seconds)
{
    const double cycle = 2 * kBreathSeconds;
    const double within = std::fmod(std::max(seconds, 0.0), cycle) / kBreathSeconds;
    const double way = within <= 1 ? within : 2 - within;
    return 1 + (kSwell - 1) * easeInOut().valueForProgress(way);
}

void RingView::setInputs(double progress, Phase phase, bool running)
{
    const double t = FaceTime::now();
    // A new phase, a pause or a resumption is drawn at once; a small step of
    // the arc waits for the next frame while the frames run.
    bool drawNow = phase != m_phase || running != m_running || progress < m_progress;
    if (progress != m_progress) {
        const double shown = shownProgress(t);
        // A growing arc moves to its new end; a smaller one (a new phase, a
        // reset) is drawn at once rather than unwound, and so is a step too
        // small to see.
        const double along = (progress - shown) * 2 * std::numbers::pi * kRadius;
        if (progress > shown && along >= kLeastArcMove && m_placed && isVisible() && !Motion::isInstant()) {
            m_arcFrom = shown;
            m_arcStart = t;
        } else {
            m_arcFrom = progress;
            m_arcStart = -1e9;
        }
        m_progress = progress;
    }
    if (running != m_running) {
        const double scale = scaleAt(t);
        if (running) {
            // Breathe on from the size the ring has now, on the way up.
            m_breathStart = t - easedInverse(swellFraction(scale)) * kBreathSeconds;
            m_settleStart = -1e9;
        } else if (!Motion::isInstant()) {
            // Settle back to rest once, as slowly as the breathing moves.
            m_settleFrom = scale;
            m_settleStart = t;
            m_settleSeconds = swellFraction(scale) * kBreathSeconds;
        }
        m_running = running;
    }
    drawNow = drawNow || !m_placed || !m_ticker->isTicking();
    m_phase = phase;
    m_placed = true;
    m_ticker->setInterval(isArcMoving(t) ? kFrameMs : kBreathFrameMs);
    m_ticker->setMoving(m_running || isSettling(t) || isArcMoving(t));
    if (drawNow || !m_ticker->isTicking())
        update();
}

bool RingView::isSettling(double t) const
{
    return !m_running && t - m_settleStart < m_settleSeconds;
}

bool RingView::isArcMoving(double t) const
{
    return t - m_arcStart < kArcSeconds;
}

double RingView::shownProgress(double t) const
{
    if (!isArcMoving(t))
        return m_progress;
    return Motion::mix(m_arcFrom, m_progress, std::max(t - m_arcStart, 0.0) / kArcSeconds);
}

double RingView::scaleAt(double t) const
{
    if (Motion::isInstant())
        return 1;
    if (m_running)
        return breath(t - m_breathStart);
    if (isSettling(t))
        return Motion::mix(m_settleFrom, 1.0, easeInOut().valueForProgress((t - m_settleStart) / m_settleSeconds));
    return 1;
}

bool RingView::isTicking() const
{
    return m_ticker->isTicking();
}

void RingView::beat()
{
    m_ticker->beat();
}

int RingView::frameInterval() const
{
    return m_ticker->interval();
}

void RingView::tick()
{
    const double t = FaceTime::now();
    if (!m_running && !isSettling(t) && !isArcMoving(t))
        m_ticker->setMoving(false);
    m_ticker->setInterval(isArcMoving(t) ? kFrameMs : kBreathFrameMs);
    const double share = drawnShare();
    if (size() != m_bandSize || share != m_bandShare) {
        m_band = movingRegion(QSizeF(size()), share);
        m_bandSize = size();
        m_bandShare = share;
    }
    update(m_band);
}

QRegion RingView::movingRegion(QSizeF size, double share)
{
    const QPointF centre(size.width() / 2, size.height() / 2);
    // Out to the swollen track, the dot's glow and its edge; in to the glow
    // of a dot on the track at rest.
    const double outer = (kRadius * kSwell + 10) * share;
    const double inner = std::max((kRadius - 10) * share, 0.0);
    constexpr int kStrip = 8;
    QRegion band;
    const int top = int(std::floor(centre.y() - outer));
    const int bottom = int(std::ceil(centre.y() + outer));
    for (int y = top; y < bottom; y += kStrip) {
        const int end = std::min(y + kStrip, bottom);
        // The strip's nearest and farthest lines from the centre.
        const double near = centre.y() >= y && centre.y() <= end ? 0 : std::min(std::abs(y - centre.y()), std::abs(end - centre.y()));
        const double far = std::max(std::abs(y - centre.y()), std::abs(end - centre.y()));
        const double out = std::sqrt(std::max(outer * outer - near * near, 0.0));
        const double in = far < inner ? std::sqrt(inner * inner - far * far) : 0;
        const int left = int(std::floor(centre.x() - out)), right = int(std::ceil(centre.x() + out));
        if (in < 1) {
            band += QRect(QPoint(left, y), QPoint(right, end - 1));
        } else {
            band += QRect(QPoint(left, y), QPoint(int(std::ceil(centre.x() - in)), end - 1));
            band += QRect(QPoint(int(std::floor(centre.x() + in)), y), QPoint(right, end - 1));
        }
    }
    return band & QRect(QPoint(0, 0), size.toSize());
}

void RingView::drawBase(QPainter &painter, QSizeF size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(size.width() / 2, size.height() / 2);
    const QRectF square(-kRadius, -kRadius, kSide, kSide);

    // The disc, lit from the upper left.
    QRadialGradient light(QPointF(square.left() + 0.42 * kSide, square.top() + 0.34 * kSide), 0.72 * kSide);
    light.setColorAt(0, Kiv::paperRaised(0.85));
    light.setColorAt(1, Kiv::paperRaised(0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawEllipse(square);

    // The track, fading towards the bottom.
    QLinearGradient track(QPointF(0, -kRadius), QPointF(0, kRadius));
    track.setColorAt(0, Kiv::inkGhost());
    track.setColorAt(1, Kiv::inkGhost(0.55));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(track), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawEllipse(square);
    painter.restore();
}

void RingView::draw(QPainter &painter, QSizeF size, double progress, Phase phase, bool running, double scale,
                    PaintCache *base)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The layer is kept at the device's own ratio; the breathing scales it.
    const double dpr = PaintCache::deviceScale(painter);
    painter.translate(size.width() / 2, size.height() / 2);
    painter.scale(scale, scale);
    if (base) {
        const QImage &layer = base->image(size.toSize(), dpr, &drawBase);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, scale != 1.0);
        // Placed by its logical frame: under a scaling transform the raster
        // engine would otherwise draw the layer at its pixel size, too large
        // wherever the device ratio is not 1.
        painter.drawImage(QRectF(QPointF(-size.width() / 2, -size.height() / 2), size), layer);
    } else {
        painter.save();
        painter.translate(-size.width() / 2, -size.height() / 2);
        drawBase(painter, size);
        painter.restore();
    }
    const QRectF square(-kRadius, -kRadius, kSide, kSide);

    // The arc from twelve o'clock, clockwise. Its colour deepens clockwise
    // from nine o'clock (0.35) round to nine o'clock again (full); the
    // conical gradient runs counter-clockwise, so its stops are reversed.
    const QColor tint = phase == Phase::focus ? Kiv::indigo() : Kiv::moss();
    auto faded = [&tint](double opacity) {
        QColor c = tint;
        c.setAlphaF(float(tint.alphaF() * opacity));
        return c;
    };
    QConicalGradient round(QPointF(0, 0), 180);
    round.setColorAt(0, tint);
    round.setColorAt(0.5, faded(0.75));
    round.setColorAt(1, faded(0.35));
    const double trim = std::clamp(progress, 0.0001, 1.0);
    QPainterPath arc;
    arc.arcMoveTo(square, 90);
    arc.arcTo(square, 90, -360 * trim);
    painter.strokePath(arc, QPen(QBrush(round), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));

    // The dot on the arc's head, glowing while the run goes on; past a full
    // turn it keeps turning.
    const double angle = progress * 2 * std::numbers::pi;
    const QPointF head(kRadius * std::sin(angle), -kRadius * std::cos(angle));
    painter.setPen(Qt::NoPen);
    if (running) {
        // A soft shadow of radius 4 under the 6 pt dot.
        QRadialGradient glow(head, 8);
        glow.setColorAt(0, Kiv::vermilion(0.55 * 0.68));
        glow.setColorAt(3.0 / 8, Kiv::vermilion(0.55 * 0.42));
        glow.setColorAt(5.0 / 8, Kiv::vermilion(0.55 * 0.13));
        glow.setColorAt(1, Kiv::vermilion(0));
        painter.setBrush(glow);
        painter.drawEllipse(head, 8, 8);
    }
    painter.setBrush(Kiv::vermilion(running ? 1.0 : 0.5));
    painter.drawEllipse(head, 3, 3);
    painter.restore();
}

void RingView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const double t = FaceTime::now();
    const double progress = shownProgress(t), scale = scaleAt(t);
    // Drawn at its own size in the middle of the frame, scaled to fit it:
    // smaller in a short window, larger round a large clock.
    const double share = drawnShare();
    m_canvas->paint(painter, event->region(), [this, progress, scale, share](QPainter &p, QSizeF s) {
        const double own = kSide + 2 * kMargin;
        p.translate(s.width() / 2, s.height() / 2);
        p.scale(share, share);
        p.translate(-own / 2, -own / 2);
        draw(p, QSizeF(own, own), progress, m_phase, m_running, scale, &m_base);
    });
}
