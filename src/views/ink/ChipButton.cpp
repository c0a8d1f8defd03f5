#include "views/ink/ChipButton.h"

ChipButton::ChipButton(const QString &text, QWidget *parent)
    : InkButton(parent)
{
    setText(text);
    setCheckable(true);
    setLook(lookFor(false));
}

void ChipButton::setLit(bool lit)
{
    setChecked(lit);
    setLook(lookFor(lit, m_symbol));
}

void ChipButton::setSymbol(std::optional<Symbol> symbol)
{
    m_symbol = symbol;
    setLook(lookFor(isChecked(), symbol));
}

InkLook ChipButton::lookFor(bool lit, std::optional<Symbol> symbol)
{
    const Tone text = lit ? Tone{Kiv::Colour::paper} : Tone{Kiv::Colour::ink};
    InkLook look = InkLook::capsule(Kiv::font(11), text, text, lit ? Tone{Kiv::Colour::indigo} : Tone::clear(),
                                    lit ? Tone{Kiv::Colour::indigo} : Tone::clear(),
                                    lit ? Tone::clear() : Tone{Kiv::Colour::hairline},
                                    lit ? Tone::clear() : Tone{Kiv::Colour::hairline});
    look.padding = QMarginsF(8, 4, 8, 4);
    look.symbol = symbol;
    look.symbolSize = 11 * Kiv::scale();
    return look;
}
