#pragma once

#include "views/ink/InkButton.h"

// A small pill that is either lit (paper text on an indigo fill) or unlit
// (ink text in a hairline outline): the day chips and their kin. Its text
// is 11 × scale, inset 8 × 4. It shows a symbol instead of a text when
// given one (then name it with setName). The caller decides when it is lit;
// a press only emits clicked(). Assistive technology reads a lit chip as
// checked.
class ChipButton : public InkButton
{
    Q_OBJECT
public:
    explicit ChipButton(const QString &text = QString(), QWidget *parent = nullptr);

    void setLit(bool lit);
    bool isLit() const { return isChecked(); }
    void setSymbol(std::optional<Symbol> symbol);

    // The look of a chip, lit or not.
    static InkLook lookFor(bool lit, std::optional<Symbol> symbol = std::nullopt);

protected:
    // A press never changes the lit state by itself.
    void nextCheckState() override {}

private:
    std::optional<Symbol> m_symbol;
};
