#include "views/ink/SymbolLabel.h"

#include "views/ink/SymbolPainter.h"

#include <QPainter>
#include <cmath>

SymbolLabel::SymbolLabel(Symbol symbol, double size, Tone tone, QWidget *parent)
    : QWidget(parent)
    , m_symbol(symbol)
    , m_size(size)
    , m_tone(tone)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolLabel::setSymbol(Symbol symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

void SymbolLabel::setTone(Tone tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    update();
}

void SymbolLabel::setWeight(SymbolWeight weight)
{
    m_weight = weight;
    update();
}

QSize SymbolLabel::sizeHint() const
{
    const QSizeF s = SymbolPainter::size(m_size);
    return {int(std::ceil(s.width())), int(std::ceil(s.height()))};
}

void SymbolLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    SymbolPainter::paint(painter, QRectF(rect()), m_symbol, m_tone.resolve(), m_weight);
}
