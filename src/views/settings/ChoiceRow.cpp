#include "views/settings/ChoiceRow.h"

#include "core/Kiv.h"
#include "views/ink/SymbolPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

namespace {

constexpr double kGap = 8;

} // namespace

ChoiceRow::ChoiceRow(const QString &text, const QFont &font, Tone chosenTone, double markSize, QWidget *parent)
    : InkButton(parent)
    , m_chosenTone(chosenTone)
    // The mark's size is read with the text's, when the row is built, so
    // that the two keep their proportion until the row is built again.
    , m_markSize(markSize * Kiv::scale())
{
    InkLook look = InkLook::plain(font, Tone{Kiv::Colour::ink}, Tone{Kiv::Colour::ink});
    look.padding = QMarginsF(0, 3, 0, 3);
    setLook(look);
    setText(text);
    setCheckable(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ChoiceRow::setChosen(bool chosen)
{
    if (isChecked() != chosen)
        setChecked(chosen);
    update();
}

void ChoiceRow::setTrailing(QWidget *widget)
{
    m_trailing = widget;
    widget->setParent(this);
    updateGeometry();
}

QSize ChoiceRow::sizeHint() const
{
    const QSizeF mark = SymbolPainter::size(m_markSize);
    const QFontMetricsF metrics(look().font);
    double width = mark.width() + kGap + metrics.horizontalAdvance(text());
    double height = std::max(mark.height(), Kiv::lineHeight(look().font)) + look().padding.top() + look().padding.bottom();
    if (m_trailing) {
        const QSize t = m_trailing->sizeHint();
        width += kGap + t.width();
        height = std::max(height, double(t.height()));
    }
    return QSize(int(std::ceil(width)), int(std::ceil(height)));
}

QSize ChoiceRow::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    const int trailing = m_trailing ? m_trailing->sizeHint().width() + int(kGap) : 0;
    return QSize(std::min(hint.width(), trailing + 60), hint.height());
}

void ChoiceRow::resizeEvent(QResizeEvent *event)
{
    InkButton::resizeEvent(event);
    if (m_trailing) {
        const QSize t = m_trailing->sizeHint();
        m_trailing->setGeometry(width() - t.width(), (height() - t.height()) / 2, t.width(), t.height());
    }
}

void ChoiceRow::paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    const QSizeF mark = SymbolPainter::size(m_markSize);
    const QColor markColour = isChecked() ? m_chosenTone.resolve() : Kiv::inkFaint();
    SymbolPainter::paint(painter, QRectF(rect.left(), rect.center().y() - mark.height() / 2, mark.width(), mark.height()),
                         isChecked() ? Symbol::largecircleFillCircle : Symbol::circle, markColour);
    const double x = rect.left() + mark.width() + kGap;
    const double right = m_trailing ? rect.right() - m_trailing->width() - kGap : rect.right();
    const QFontMetricsF metrics(look().font);
    const QString shown = metrics.elidedText(text(), Qt::ElideRight, std::max(0.0, right - x));
    painter.setFont(look().font);
    painter.setPen(colour);
    painter.drawText(QPointF(x, Kiv::baselineFor(look().font, rect.center().y())), shown);
}
