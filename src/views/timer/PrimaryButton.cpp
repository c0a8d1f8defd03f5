#include "views/timer/PrimaryButton.h"

PrimaryButton::PrimaryButton(QWidget *parent)
    : InkButton(parent)
{
    setObjectName(QStringLiteral("timer.primaryButton"));
    setLook(lookFor(m_tint));
}

void PrimaryButton::setTint(RoundButtons::Tint tint)
{
    if (tint == m_tint)
        return;
    m_tint = tint;
    setLook(lookFor(tint));
}

InkLook PrimaryButton::lookFor(RoundButtons::Tint tint)
{
    const Kiv::Colour c = tint == RoundButtons::Tint::indigo ? Kiv::Colour::indigo : Kiv::Colour::moss;
    InkLook look = InkLook::capsule(Kiv::tracked(Kiv::font(14, Kiv::Design::serif), 2.0, 0.24), {c}, {c},
                                    Tone::clear(), {c, 0.08}, {c, 0.75}, {c, 1.0});
    look.padding = QMarginsF();
    look.fixedSize = QSizeF(128 * Kiv::scale(), 40 * Kiv::scale());
    return look;
}
