#include "MovingStrands.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPointF>
#include <array>
#include <cmath>

namespace {
const QRect kStrip(76, 40, 39, 116);
}

MovingStrands::MovingStrands(int fps, QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(190, 259);
    m_clock.start();
    m_frames.setTimerType(Qt::PreciseTimer);
    m_frames.setInterval(1000 / fps);
    connect(&m_frames, &QTimer::timeout, this, [this] { repaint(kStrip); });
    m_frames.start();
}

void MovingStrands::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(0xF4, 0xEF, 0xE6));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x2B, 0x26, 0x22, 76), 1));
    const double t = m_clock.elapsed() / 1000.0, cx = kStrip.center().x(), bottom = kStrip.bottom() - 4;
    std::array<QPointF, 35> strand;
    for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < 35; ++i) {
            const double f = i / 34.0;
            strand[size_t(i)] = QPointF(cx + 1.5 * k + f * (2.5 + 13 * f) * std::sin(2.3 * k + 3.4 * f - 0.55 * t),
                                        bottom - 108 * f);
        }
        painter.drawPolyline(strand.data(), int(strand.size()));
    }
}
