#include "views/ink/PlainLineEdit.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

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

void PlainLineEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    // Qt leaves out the placeholder of a centred field while it has the
    // focus; it is drawn here where Qt would draw it, under the caret.
    if (!hasFocus() || !text().isEmpty() || placeholderText().isEmpty() || !(alignment() & Qt::AlignHCenter))
        return;
    QStyleOptionFrame option;
    initStyleOption(&option);
    QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    r = r.marginsRemoved(textMargins());
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = std::max(metrics.boundingRect(placeholderText()).height(), metrics.height());
    // The same line as Qt's: 2 px in from the sides, centred by default.
    int top = r.y() + (r.height() - lineHeight + 1) / 2;
    if (alignment() & Qt::AlignTop)
        top = r.y() + 1;
    else if (alignment() & Qt::AlignBottom)
        top = r.bottom() + 1 - lineHeight - 1;
    const QRect line(r.x() + 2, top, r.width() - 4, lineHeight);
    QPainter painter(this);
    painter.setClipRect(r);
    painter.setPen(palette().placeholderText().color());
    painter.drawText(line, int(alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)),
                     metrics.elidedText(placeholderText(), Qt::ElideRight, line.width()));
}
