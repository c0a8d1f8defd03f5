#include "views/day/DayLegend.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/ElidedLabel.h"

#include <QHBoxLayout>
#include <QPainter>

namespace {

class Bar : public QWidget
{
public:
    Bar(Kiv::Colour colour, QWidget *parent)
        : QWidget(parent)
        , m_colour(colour)
    {
        setFixedSize(3, 11);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Kiv::colour(m_colour));
        p.drawRoundedRect(QRectF(rect()), 1.5, 1.5);
    }

private:
    Kiv::Colour m_colour;
};

} // namespace

DayLegend::DayLegend(QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    auto mark = [&](Kiv::Colour colour, const QString &label) {
        auto *pair = new QHBoxLayout;
        pair->setSpacing(5);
        pair->addWidget(new Bar(colour, this), 0, Qt::AlignVCenter);
        pair->addWidget(new ElidedLabel(label, Kiv::font(10), Tone{Kiv::Colour::inkFaint}, this), 0, Qt::AlignVCenter);
        row->addLayout(pair);
    };
    mark(Kiv::Colour::planned, L(QStringLiteral("予定")));
    mark(Kiv::Colour::actual, L(QStringLiteral("したこと")));
}
