#include "views/ink/InkButton.h"

#include "views/ink/FocusRing.h"
#include "views/ink/Motion.h"
#include "views/ink/SymbolPainter.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

InkButton::InkButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
    FocusRing::watch();
}

InkButton::InkButton(const QString &text, const InkLook &look, QWidget *parent)
    : InkButton(parent)
{
    setText(text);
    setLook(look);
}

void InkButton::setLook(const InkLook &look)
{
    m_look = look;
    updateGeometry();
    update();
}

void InkButton::setName(const QString &name)
{
    setAccessibleName(name);
    setToolTip(name);
}

QColor InkButton::foregroundNow() const
{
    return Motion::mix(m_look.foreground.resolve(), m_look.foregroundHover.resolve(), m_hover.value());
}

QColor InkButton::fillNow() const
{
    return Motion::mix(m_look.fill.resolve(), m_look.fillHover.resolve(), m_hover.value());
}

QColor InkButton::strokeNow() const
{
    return Motion::mix(m_look.stroke.resolve(), m_look.strokeHover.resolve(), m_hover.value());
}

double InkButton::symbolSide() const
{
    if (!m_look.symbol)
        return 0;
    const double size = m_look.symbolSize > 0 ? m_look.symbolSize : Kiv::pixelSize(m_look.font);
    return SymbolPainter::size(size).width();
}

QSizeF InkButton::labelSize() const
{
    const QFontMetricsF metrics(m_look.font);
    const double side = symbolSide();
    const double textWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    const double gap = side > 0 && textWidth > 0 ? m_look.spacing : 0;
    const double height = std::max(text().isEmpty() ? 0 : Kiv::lineHeight(m_look.font), side);
    return {side + gap + textWidth, height};
}

QSize InkButton::sizeHint() const
{
    if (m_look.fixedSize.isValid())
        return m_look.fixedSize.toSize();
    const QSizeF label = labelSize();
    const QMarginsF &p = m_look.padding;
    return QSize(int(std::ceil(label.width() + p.left() + p.right())),
                 int(std::ceil(label.height() + p.top() + p.bottom())));
}

QSize InkButton::minimumSizeHint() const
{
    return sizeHint();
}

void InkButton::paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    const QSizeF natural = labelSize();
    const double side = symbolSide();
    double x = rect.center().x() - std::min(natural.width(), rect.width()) / 2;
    const bool after = m_look.symbolAfterText && !text().isEmpty();
    if (side > 0 && !after) {
        SymbolPainter::paint(painter, QRectF(x, rect.center().y() - side / 2, side, side), *m_look.symbol, colour,
                             m_look.symbolWeight);
        x += side + (text().isEmpty() ? 0 : m_look.spacing);
    }
    if (text().isEmpty())
        return;
    const QFontMetricsF metrics(m_look.font);
    // A trailing symbol keeps its room; the text gives way to it.
    const double trail = side > 0 && after ? side + m_look.spacing : 0;
    const double room = rect.right() - x - trail;
    const QString shown = metrics.horizontalAdvance(text()) <= room + 0.5
                              ? text()
                              : metrics.elidedText(text(), Qt::ElideRight, room);
    painter.setFont(m_look.font);
    painter.setPen(colour);
    const double baseline = Kiv::baselineFor(m_look.font, rect.center().y());
    painter.drawText(QPointF(x, baseline), shown);
    if (trail > 0) {
        const double at = x + metrics.horizontalAdvance(shown) + m_look.spacing;
        SymbolPainter::paint(painter, QRectF(at, rect.center().y() - side / 2, side, side), *m_look.symbol, colour,
                             m_look.symbolWeight);
    }
}

void InkButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double enabled = isEnabled() ? 1.0 : 0.4;
    const QRectF frame = QRectF(rect());
    const double sw = m_look.strokeWidth;
    const QRectF shapeRect = frame.adjusted(sw / 2, sw / 2, -sw / 2, -sw / 2);

    QPainterPath shape;
    switch (m_look.shape) {
    case InkLook::Shape::none: break;
    case InkLook::Shape::capsule: {
        const double r = shapeRect.height() / 2;
        shape.addRoundedRect(shapeRect, r, r);
        break;
    }
    case InkLook::Shape::circle: {
        const double d = std::min(shapeRect.width(), shapeRect.height());
        shape.addEllipse(QRectF(shapeRect.center().x() - d / 2, shapeRect.center().y() - d / 2, d, d));
        break;
    }
    case InkLook::Shape::rounded:
        shape.addRoundedRect(shapeRect, m_look.cornerRadius, m_look.cornerRadius);
        break;
    }

    painter.setOpacity(enabled);
    if (!shape.isEmpty()) {
        const QColor fill = fillNow();
        if (fill.alpha() > 0)
            painter.fillPath(shape, fill);
    }
    painter.setOpacity(enabled * Motion::mix(m_look.opacity, m_look.opacityHover, m_hover.value()));
    QRectF content = frame;
    if (!m_look.fixedSize.isValid())
        content = frame.marginsRemoved(m_look.padding);
    paintLabel(painter, content, foregroundNow());
    painter.setOpacity(enabled);
    if (!shape.isEmpty()) {
        const QColor stroke = strokeNow();
        if (stroke.alpha() > 0)
            painter.strokePath(shape, QPen(stroke, sw));
    }
    if (m_keyboardFocus && hasFocus()) {
        // On a filled shape (a lit chip, a main action on indigo) an indigo
        // ring would vanish into the fill: a paper ring inside its edge.
        const QColor fill = shape.isEmpty() ? QColor(Qt::transparent) : fillNow();
        const bool onFill = fill.alphaF() >= 0.5;
        QPainterPath ring;
        const double inset = onFill ? 2.5 : 1.0;
        const QRectF r = frame.adjusted(inset, inset, -inset, -inset);
        const double radius = m_look.shape == InkLook::Shape::capsule || m_look.shape == InkLook::Shape::circle
                                  ? r.height() / 2
                                  : 4.0;
        ring.addRoundedRect(r, radius, radius);
        painter.strokePath(ring, QPen(onFill ? Kiv::paper(0.9) : Kiv::indigo(0.6), 1.5));
    }
}

void InkButton::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    m_hover.startTo(this, [this] { update(); }, hovering ? 1.0 : 0.0, m_look.hoverMs, Motion::easeOut());
}

void InkButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    if (isEnabled())
        setHovering(true);
}

void InkButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    setHovering(false);
}

void InkButton::keyPressEvent(QKeyEvent *event)
{
    // A focus that fell here after a click elsewhere does not make the
    // next Space or Return press this button.
    const bool press = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    if (press && m_focusFell) {
        event->ignore();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        if (isEnabled())
            click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void InkButton::focusInEvent(QFocusEvent *event)
{
    // Back from another window or a popup, the focus is as it was.
    const Qt::FocusReason reason = event->reason();
    m_keyboardFocus = FocusRing::shows(event, m_keyboardFocus);
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        m_focusFell = !FocusRing::givenByUser(event);
    QAbstractButton::focusInEvent(event);
    update();
}

void InkButton::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        m_keyboardFocus = false;
        m_focusFell = false;
    }
    QAbstractButton::focusOutEvent(event);
    update();
}

void InkButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        setHovering(false);
    QAbstractButton::changeEvent(event);
}

bool InkButton::hitButton(const QPoint &pos) const
{
    if (!m_look.circleHitArea)
        return rect().contains(pos);
    const QPointF c = QRectF(rect()).center();
    const double r = std::min(width(), height()) / 2.0;
    const QPointF d = QPointF(pos) + QPointF(0.5, 0.5) - c;
    return d.x() * d.x() + d.y() * d.y() <= r * r;
}
