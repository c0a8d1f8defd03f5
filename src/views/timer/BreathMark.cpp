#include "views/timer/BreathMark.h"

#include "core/Kiv.h"
#include "views/ink/Motion.h"

#include <QPainter>
#include <cmath>

namespace {

constexpr double kSmall = 0.3;

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
    m_show.startTo(this, [this] { update(); }, active ? 1 : 0, 350, Motion::easeInOut());
    if (active) {
        breathe();
    } else {
        m_pending = false;
        m_exhaling = false;
        m_in.setValue(kSmall);
        m_out.setValue(kSmall);
        m_in.finish();
        update();
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
        update();
        if (!m_in.isRunning() && m_active && !m_exhaling) {
            m_exhaling = true;
            m_out.start(this, [this] { update(); }, 1, kSmall, int(m_seconds * 600), Motion::easeInOut());
        }
    }, kSmall, 1, int(m_seconds * 400), Motion::easeInOut());
}

double BreathMark::swell() const
{
    return m_exhaling ? m_out.value() : m_in.value();
}

void BreathMark::paintEvent(QPaintEvent *)
{
    const double shown = m_show.value();
    if (shown <= 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = 96 * Kiv::scale() * swell();
    const QPointF centre = QRectF(rect()).center();
    painter.setOpacity(shown);
    painter.setPen(QPen(Kiv::inkFaint(0.55), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, side / 2, side / 2);
}
