#include "views/ink/ToggleSwitch.h"

#include "core/Kiv.h"
#include "views/ink/Motion.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr double kWidth = 32;
constexpr double kHeight = 18;
constexpr double kInset = 2; // room for the focus ring around the track

} // namespace

ToggleSwitch::ToggleSwitch(QWidget *parent)
    : InkButton(parent)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
}

QSize ToggleSwitch::sizeHint() const
{
    return QSize(int(kWidth + 2 * kInset), int(kHeight + 2 * kInset));
}

void ToggleSwitch::draw(QPainter &painter, QSizeF size, double knob, bool enabled, bool focusRing)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track((size.width() - kWidth) / 2, (size.height() - kHeight) / 2, kWidth, kHeight);
    const double radius = track.height() / 2;
    painter.setOpacity(enabled ? 1.0 : 0.4);

    QPainterPath capsule;
    capsule.addRoundedRect(track, radius, radius);
    painter.fillPath(capsule, Motion::mix(Kiv::ink(0.22), Kiv::indigo(), knob));

    const double d = track.height() - 4;
    const double x = track.left() + 2 + knob * (track.width() - 4 - d);
    const QRectF knobRect(x, track.top() + 2, d, d);
    painter.setPen(QPen(Kiv::ink(0.12), 0.5));
    painter.setBrush(knobColour());
    painter.drawEllipse(knobRect);

    if (focusRing) {
        QPainterPath ring;
        const QRectF r = track.adjusted(-1.5, -1.5, 1.5, 1.5);
        ring.addRoundedRect(r, r.height() / 2, r.height() / 2);
        painter.setOpacity(1.0);
        painter.strokePath(ring, QPen(Kiv::indigo(0.6), 1.5));
    }
    painter.restore();
}

QColor ToggleSwitch::knobColour()
{
    return Kiv::appearance() == Kiv::Appearance::dark ? Kiv::ink() : Kiv::paperRaised();
}

void ToggleSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(painter, QSizeF(size()), m_knob.value(), isEnabled(), showsFocusRing());
}

void ToggleSwitch::checkStateSet()
{
    // Set from code (a refresh): the knob stands at once.
    m_knob.setValue(isChecked() ? 1.0 : 0.0);
    update();
}

void ToggleSwitch::nextCheckState()
{
    // Flipped by the user: the knob slides from where it stood.
    const double from = m_knob.value();
    InkButton::nextCheckState();
    m_knob.setValue(from);
    slide();
}

void ToggleSwitch::slide()
{
    m_knob.startTo(this, [this] { update(); }, isChecked() ? 1.0 : 0.0, 150, Motion::easeOut());
}
