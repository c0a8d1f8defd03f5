#pragma once

#include "views/ink/Symbol.h"
#include "views/ink/Tone.h"

#include <QWidget>

// A symbol standing on its own in a layout (a chevron beside a text, the
// state of a closed task), in the square that goes with text of `size`
// logical pixels. Decorative unless given an accessible name.
class SymbolLabel : public QWidget
{
    Q_OBJECT
public:
    SymbolLabel(Symbol symbol, double size, Tone tone, QWidget *parent = nullptr);

    void setSymbol(Symbol symbol);
    Symbol symbol() const { return m_symbol; }
    void setTone(Tone tone);
    void setWeight(SymbolWeight weight);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Symbol m_symbol;
    double m_size;
    Tone m_tone;
    SymbolWeight m_weight = SymbolWeight::regular;
};
