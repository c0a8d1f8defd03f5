#include "app/PinButton.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "views/ink/LayoutRole.h"
#include "views/ink/Crossfade.h"
#include "views/ink/Motion.h"

#include <QPainter>

namespace {
constexpr double kSide = 26;
constexpr double kLean = 30;
constexpr int kMs = 150;
} // namespace

PinButton::PinButton(AppSettings &settings, QWidget *parent)
    : InkButton(parent)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("root.pin"));
    m_fade = new Crossfade(this);
    LayoutRole::setOverlay(this);
    connect(this, &QAbstractButton::clicked, this, [this] { m_settings.setAlwaysOnTop(!m_settings.alwaysOnTop()); });
    connect(&m_settings, &AppSettings::alwaysOnTopChanged, this, [this] { refresh(true); });
    m_pinned = !m_settings.alwaysOnTop(); // so that the first refresh sets everything
    refresh(false);
}

void PinButton::refresh(bool animated)
{
    const bool pinned = m_settings.alwaysOnTop();
    if (pinned == m_pinned)
        return;
    m_pinned = pinned;
    // The colours of the old look dissolve into the new over 0.15 s while
    // the pin stands up or leans.
    const bool fades = animated && m_fade->capture();
    const double size = 11 * Kiv::scale();
    InkLook look;
    if (pinned) {
        look = InkLook::icon(Symbol::pinFill, size, {Kiv::Colour::vermilion}, {Kiv::Colour::vermilion},
                             QSizeF(kSide, kSide));
        look.fill = look.fillHover = {Kiv::Colour::paperRaised};
        look.stroke = look.strokeHover = {Kiv::Colour::vermilion, 0.35};
    } else {
        look = InkLook::icon(Symbol::pin, size, {Kiv::Colour::inkSoft}, {Kiv::Colour::ink}, QSizeF(kSide, kSide));
        look.fill = Tone::clear();
        look.fillHover = {Kiv::Colour::paperRaised};
        look.stroke = Tone::clear();
        look.strokeHover = {Kiv::Colour::hairline};
    }
    look.shape = InkLook::Shape::circle;
    look.circleHitArea = true;
    setLook(look);
    setName(pinned ? L("手前に留めるのをやめる") : L("手前に留める"));
    setToolTip(pinned ? L("最前面の固定を外す") : L("常に最前面に表示"));
    const double lean = pinned ? 0 : kLean;
    if (animated)
        m_tilt.startTo(this, [this] { update(); }, lean, kMs, Motion::easeOut());
    else
        m_tilt.setValue(lean);
    if (fades)
        m_fade->play(kMs, Motion::easeOut());
    update();
}

void PinButton::paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    painter.save();
    painter.translate(rect.center());
    painter.rotate(m_tilt.value());
    painter.translate(-rect.center());
    InkButton::paintLabel(painter, rect, colour);
    painter.restore();
}
