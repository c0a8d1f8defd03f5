#include "views/daily/SweepParts.h"

#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QBoxLayout>

namespace SweepParts {

void gap(QBoxLayout *column, int points)
{
    if (points > 0)
        column->addSpacing(points);
}

ElidedLabel *line(QBoxLayout *column, const QString &text, const QFont &font, Tone tone, int top)
{
    gap(column, top);
    auto *label = new ElidedLabel(text, font, tone, column->parentWidget());
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    column->addWidget(label);
    return label;
}

TextBlock *block(QBoxLayout *column, const QString &text, const QFont &font, Tone tone, int top)
{
    gap(column, top);
    auto *text_ = new TextBlock(text, font, tone, column->parentWidget());
    text_->setAlignment(Qt::AlignHCenter);
    text_->setContentsMargins(kSide, 0, kSide, 0);
    column->addWidget(text_);
    return text_;
}

InkButton *button(QBoxLayout *column, const QString &label, const QFont &font, Tone tone, int top)
{
    gap(column, top);
    InkLook look = InkLook::plain(font, tone, tone);
    look.opacityHover = 0.75;
    auto *b = new InkButton(label, look, column->parentWidget());
    b->setAccessibleName(label);
    column->addWidget(b, 0, Qt::AlignHCenter);
    return b;
}

InkButton *choice(const QString &label, Tone tint, QWidget *parent)
{
    Tone stroke = tint;
    stroke.opacity *= 0.5;
    Tone strokeHover = tint;
    InkLook look = InkLook::capsule(Kiv::font(14, Kiv::Design::serif), tint, tint, Tone::clear(), Tone::clear(),
                                    stroke, strokeHover);
    look.padding = QMarginsF(22, 10, 22, 10);
    auto *b = new InkButton(label, look, parent);
    b->setAccessibleName(label);
    return b;
}

} // namespace SweepParts
