#include "views/ink/PlainLineEdit.h"

#include <QEvent>

PlainLineEdit::PlainLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    applyPlainPalette(this, m_tone);
}

void PlainLineEdit::setTone(Tone tone)
{
    m_tone = tone;
    applyPlainPalette(this, tone);
}

void PlainLineEdit::applyPlainPalette(QWidget *widget, Tone tone)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Text, tone.resolve());
    widget->setPalette(p);
}

bool PlainLineEdit::needsPlainPalette(const QWidget *widget, Tone tone)
{
    return widget->palette().color(QPalette::Text) != tone.resolve()
           || widget->palette().color(QPalette::Base).alpha() != 0;
}

void PlainLineEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    // The window's palette changed with the appearance: the text follows.
    if (event->type() == QEvent::PaletteChange && PlainLineEdit::needsPlainPalette(this, m_tone))
        applyPlainPalette(this, m_tone);
}
