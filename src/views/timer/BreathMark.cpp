#include "views/timer/BreathMark.h"

#include "core/Kiv.h"
#include "views/ink/KivBackground.h"
#include "views/ink/PaintCache.h"
#include "views/ink/Motion.h"

#include <QPainter>
#include <cmath>

namespace {

constexpr double kSmall = 0.3;
constexpr double kPen = 1.2;
// The circle's width at its fullest, before the text scale.
constexpr double kSide = 96;

} // namespace

BreathMark::BreathMark(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedHeight(int(std::ceil(100 * Kiv::scale())));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_in.setValue(kSmall);
    m_out.setValue(kSmall);
}

QSize BreathMark::sizeHint() const
{
    return QSize(int(std::ceil(100 * Kiv::scale())), int(std::ceil(100 * Kiv::scale())));
}

void BreathMark::setActive(bool active, double seconds)
{
    m_seconds = seconds;
    if (active == m_active)
        return;
    m_active = active;
    m_show.startTo(this, [this] { updateMark(); }, active ? 1 : 0, 350, Motion::easeInOut());
    if (active) {
        breathe();
    } else {
        m_pending = false;
        m_exhaling = false;
        m_in.setValue(kSmall);
        m_out.setValue(kSmall);
        m_in.finish();
        updateMark();
    }
}

void BreathMark::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_pending && m_active)
        breathe();
}

void BreathMark::breathe()
{
    m_pending = !isVisible() && !Motion::isInstant();
    if (m_pending)
        return;
    // In-breath over 0.4 of the breath, then at once the out-breath over 0.6.
    m_exhaling = false;
    m_in.start(this, [this] {
        updateMark();
        if (!m_in.isRunning() && m_active && !m_exhaling) {
            m_exhaling = true;
            m_out.start(this, [this] { updateMark(); }, 1, kSmall, int(m_seconds * 600), Motion::easeInOut());
        }
    }, kSmall, 1, int(m_seconds * 400), Motion::easeInOut());
}

double BreathMark::swell() const
{
    return m_exhaling ? m_out.value() : m_in.value();
}

QRect BreathMark::markRect() const
{
    // The circle at its full size, with its pen and a pixel of the
    // antialiased edge.
    const double half = kSide * Kiv::scale() / 2 + kPen + 1;
    const QPointF centre = QRectF(rect()).center();
    return QRectF(centre - QPointF(half, half), centre + QPointF(half, half)).toAlignedRect() & rect();
}

void BreathMark::updateMark()
{
    // A breath moves the circle alone: the paper round it is not drawn again.
    update(markRect());
}

void BreathMark::paintEvent(QPaintEvent *)
{
    const double shown = m_show.value();
    if (shown <= 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = kSide * Kiv::scale() * swell();
    const QPointF centre = QRectF(rect()).center();
    // The faint ink, faded by the mark's showing, over the paper at the
    // circle's middle, as one opaque colour. Qt's raster engine splits an
    // antialiased stroke in a colour that is not opaque into pieces for its
    // pool, a dozen or more for this circle, at every frame of a six-second
    // breath; an opaque stroke it draws on this thread alone. The paper
    // varies by a level or two across the circle, so the line looks the same.
    const QColor ink = Kiv::inkFaint(0.55);
    QColor paper = Kiv::paper();
    QPoint offset;
    if (KivBackground *under = KivBackground::under(this, &offset)) {
        const qreal dpr = PaintCache::deviceScale(painter);
        const QImage &layer = under->layer(dpr);
        const QPoint at = ((QPointF(offset) + centre) * dpr).toPoint();
        if (layer.rect().contains(at))
            paper = layer.pixelColor(at);
    }
    const double a = ink.alphaF() * shown;
    const QColor pen = QColor::fromRgbF(float(paper.redF() * (1 - a) + ink.redF() * a),
                                        float(paper.greenF() * (1 - a) + ink.greenF() * a),
                                        float(paper.blueF() * (1 - a) + ink.blueF() * a));
    painter.setPen(QPen(pen, kPen));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, side / 2, side / 2);
}
