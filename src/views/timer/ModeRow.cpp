#include "views/timer/ModeRow.h"

#include "core/Kiv.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/Motion.h"
#include "views/ink/RhythmView.h"
#include "views/ink/SoftShadow.h"
#include "views/ink/TextBlock.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <cmath>

ModeRow::ModeRow(const ModeCard &card, QWidget *parent)
    : InkButton(parent)
{
    InkLook look;
    look.hoverMs = 150;
    setLook(look);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    auto *column = new QVBoxLayout(this);
    const QMargins room = shadowRoom();
    column->setContentsMargins(room.left() + 14, room.top() + 9, room.right() + 14, room.bottom() + 9);
    column->setSpacing(6);

    auto *first = new QHBoxLayout;
    first->setSpacing(12);
    m_name = new ElidedLabel(QString(), Kiv::tracked(Kiv::font(16, Kiv::Design::serif), 1.0, 0.12),
                             Tone{Kiv::Colour::ink}, this);
    m_name->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    first->addWidget(m_name);
    m_strip = new RhythmView(this);
    first->addWidget(m_strip);
    // At least 8 between the strip and the span.
    first->addSpacing(8);
    first->addStretch(1);
    m_span = new ElidedLabel(QString(), Kiv::font(12, Kiv::Design::serif), Tone{Kiv::Colour::inkSoft}, this);
    // In a narrow card at a large text scale the span takes a second line
    // rather than cutting the name or itself.
    m_span->setMaxLines(2);
    m_span->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_span->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    first->addWidget(m_span);
    column->addLayout(first);

    m_detail = new TextBlock(QString(), Kiv::font(12), Tone{Kiv::Colour::inkFaint}, this);
    column->addWidget(m_detail);

    for (QWidget *child : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_strip),
                           static_cast<QWidget *>(m_span), static_cast<QWidget *>(m_detail)})
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    setCard(card);
}

void ModeRow::setCard(const ModeCard &card)
{
    m_card = card;
    setObjectName(QStringLiteral("timer.mode.") + rawValue(card.mode));
    setText(card.name);
    setAccessibleName(card.accessibleName);
    m_name->setText(card.name);
    m_name->setMinimumWidth(m_name->sizeHint().width()); // the name is never cut
    m_strip->setRhythm(card.strip.phases, card.strip.endless, card.strip.openEnded, std::nullopt, 5);
    m_span->setText(card.span);
    m_detail->setText(card.detail);
    updateGeometry();
}

QSize ModeRow::sizeHint() const
{
    return layout()->sizeHint();
}

QSize ModeRow::minimumSizeHint() const
{
    return layout()->minimumSize();
}

int ModeRow::heightForWidth(int width) const
{
    return layout()->heightForWidth(width);
}

void ModeRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double h = hoverLevel();
    const QRectF card = QRectF(rect()).marginsRemoved(QMarginsF(shadowRoom()));
    QPainterPath shape;
    shape.addRoundedRect(card, 10, 10);
    const QImage &shadow = m_shadow.image(
        size(), PaintCache::deviceScale(painter),
        [&](QPainter &p, QSizeF) {
            SoftShadow::draw(p, shape, Kiv::ink(Motion::mix(0.02, 0.08, h)), Motion::mix(3.0, 8.0, h), QPointF(0, 2));
        },
        quint64(std::lround(h * 1e6)));
    painter.drawImage(QPointF(0, 0), shadow);
    painter.fillPath(shape, Kiv::paperRaised(Motion::mix(0.55, 1.0, h)));
    painter.strokePath(shape, QPen(Kiv::hairline(Motion::mix(0.45, 1.0, h)), 1));
    if (showsFocusRing()) {
        QPainterPath ring;
        ring.addRoundedRect(card.adjusted(-1.5, -1.5, 1.5, 1.5), 11.5, 11.5);
        painter.strokePath(ring, QPen(Kiv::indigo(0.6), 1.5));
    }
}
