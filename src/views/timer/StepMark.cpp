#include "views/timer/StepMark.h"

#include "core/Kiv.h"
#include "views/ink/Motion.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

double dot() { return 5 * Kiv::scale(); }
double bar() { return 34 * Kiv::scale(); }

} // namespace

StepMark::StepMark(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize StepMark::sizeHint() const
{
    return QSize(int(std::ceil(trackWidth())), int(std::ceil(dot())));
}

void StepMark::stretched()
{
    // The mark is as wide as its track, so its neighbours keep 8 from it.
    setFixedSize(sizeHint());
    update();
}

void StepMark::setActive(bool active, double seconds)
{
    m_seconds = seconds;
    if (active == m_active)
        return;
    m_active = active;
    m_stretch.startTo(this, [this] { stretched(); }, active ? 1 : 0, 300, Motion::easeInOut());
    m_fill.setValue(0);
    update();
    if (active)
        startFill();
}

void StepMark::startFill()
{
    // The fill runs while the mark is on screen; a mark made current before
    // it shows starts filling when it appears.
    if (!isVisible() && !Motion::isInstant()) {
        m_pendingFill = true;
        return;
    }
    m_pendingFill = false;
    m_fill.start(this, [this] { update(); }, 0, 1, int(m_seconds * 1000), Motion::linear());
}

void StepMark::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_pendingFill && m_active)
        startFill();
}

double StepMark::trackWidth() const
{
    return Motion::mix(dot(), bar(), m_stretch.value());
}

double StepMark::fillWidth() const
{
    return m_active ? bar() * m_fill.value() : 0;
}

void StepMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double h = dot();
    const double y = (height() - h) / 2;
    QPainterPath track;
    track.addRoundedRect(QRectF(0, y, trackWidth(), h), h / 2, h / 2);
    painter.fillPath(track, Kiv::inkGhost());
    if (m_active && fillWidth() > 0) {
        QPainterPath fill;
        fill.addRoundedRect(QRectF(0, y, fillWidth(), h), h / 2, h / 2);
        painter.fillPath(fill, Kiv::vermilion());
    }
}
