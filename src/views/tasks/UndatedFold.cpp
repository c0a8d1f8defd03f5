#include "views/tasks/UndatedFold.h"

#include "core/Kiv.h"
#include "views/ink/Motion.h"
#include "views/ink/SymbolPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace {

QFont textFont()
{
    return Kiv::font(12);
}

double chevronSide()
{
    return SymbolPainter::size(8 * Kiv::scale()).width();
}

constexpr double kSpacing = 6;

} // namespace

UndatedFold::UndatedFold(QWidget *parent)
    : InkButton(parent)
{
    InkLook look = InkLook::plain(textFont(), Tone{Kiv::Colour::inkSoft}, Tone{Kiv::Colour::inkSoft});
    look.padding = QMarginsF(0, kPadding, 0, kPadding);
    setLook(look);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &UndatedFold::flip);
    set(0, false);
}

void UndatedFold::set(int count, bool open)
{
    m_count = count;
    m_row = UndatedFoldRow::of(count, open);
    setText(m_row.text);
    setAccessibleName(m_row.accessibleName);
    setVisible(m_row.visible);
    updateGeometry();
    update();
}

void UndatedFold::flip()
{
    set(m_count, !m_row.open);
    emit openChanged(m_row.open);
}

QSizeF UndatedFold::labelSizeOf(const UndatedFoldRow &row)
{
    const QFont font = textFont();
    const double width = QFontMetricsF(font).horizontalAdvance(row.text) + kSpacing + chevronSide();
    return QSizeF(width, std::max(Kiv::lineHeight(font), chevronSide()));
}

void UndatedFold::drawLabel(QPainter &painter, const QRectF &rect, const UndatedFoldRow &row, const QColor &colour)
{
    const QFont font = textFont();
    const double centreY = rect.center().y();
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    const double textWidth = QFontMetricsF(font).horizontalAdvance(row.text);
    painter.drawText(QPointF(rect.left(), Kiv::baselineFor(font, centreY)), row.text);
    const double side = chevronSide();
    const QRectF chevron(rect.left() + textWidth + kSpacing, centreY - side / 2, side, side);
    SymbolPainter::paint(painter, chevron, row.open ? Symbol::chevronDown : Symbol::chevronRight, colour,
                         SymbolWeight::medium);
    painter.restore();
}

void UndatedFold::paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    drawLabel(painter, rect, m_row, colour);
}

QSizeF UndatedFold::labelSize() const
{
    return labelSizeOf(m_row);
}
