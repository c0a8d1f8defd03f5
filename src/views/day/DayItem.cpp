#include "views/day/DayItem.h"

#include "views/ink/ElidedLabel.h"
#include "views/ink/TextBlock.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

DayItem::DayItem(Kiv::Colour colour, const QString &title, const QString &meta, bool dimmed, QWidget *parent)
    : QWidget(parent)
    , m_colour(colour)
{
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(3 + 8, 0, 0, 0); // the bar and the gap after it
    m_row->setSpacing(8);
    auto *text = new QVBoxLayout;
    text->setSpacing(1);
    m_title = new ElidedLabel(title, Kiv::font(13, Kiv::Design::serif),
                              Tone{dimmed ? Kiv::Colour::inkFaint : Kiv::Colour::ink}, this);
    m_meta = new TextBlock(meta, Kiv::font(10), Tone{colour}, this);
    text->addWidget(m_title);
    text->addWidget(m_meta);
    m_row->addLayout(text, 1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void DayItem::set(const QString &title, const QString &meta)
{
    m_title->setText(title);
    m_meta->setText(meta);
}

QString DayItem::title() const
{
    return m_title->text();
}

QString DayItem::meta() const
{
    return m_meta->text();
}

void DayItem::setTrailing(QWidget *view)
{
    m_row->addWidget(view, 0, Qt::AlignTop);
}

void DayItem::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Kiv::colour(m_colour));
    p.drawRoundedRect(QRectF(0, 0, 3, height()), 1.5, 1.5);
}
