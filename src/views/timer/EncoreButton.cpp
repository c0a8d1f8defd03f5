#include "views/timer/EncoreButton.h"

EncoreButton::EncoreButton(QWidget *parent)
    : InkButton(parent)
{
    setObjectName(QStringLiteral("timer.encoreButton"));
    setLook(lookFor(m_chosen));
}

void EncoreButton::setChosen(bool chosen)
{
    if (chosen == m_chosen)
        return;
    m_chosen = chosen;
    setLook(lookFor(chosen));
}

InkLook EncoreButton::lookFor(bool chosen)
{
    const Kiv::Colour tint = chosen ? Kiv::Colour::indigo : Kiv::Colour::inkSoft;
    // The fill and the outline follow the choice, not the pointer.
    const Tone fill = chosen ? Tone{tint, 0.08} : Tone::clear();
    const Tone stroke{tint, chosen ? 0.8 : 0.45};
    InkLook look = InkLook::capsule(Kiv::tracked(Kiv::font(12, Kiv::Design::serif), 2.0, 0.24), {tint},
                                    {Kiv::Colour::ink}, fill, fill, stroke, stroke);
    if (chosen) {
        look.symbol = Symbol::arrowClockwise;
        look.symbolSize = 9 * Kiv::scale();
        look.symbolWeight = SymbolWeight::light;
    }
    return look;
}
