#include "views/daily/TodayMark.h"

#include "core/L.h"
#include "views/ink/SymbolPainter.h"

#include <QPainter>

namespace {
constexpr double kSide = 26;
constexpr double kCircle = 16;
constexpr double kDot = 9;
} // namespace

TodayMark::TodayMark(QWidget *parent)
    : InkButton(parent)
{
    InkLook look = InkLook::plain(Kiv::font(8), {Kiv::Colour::moss}, {Kiv::Colour::moss});
    look.fixedSize = QSizeF(kSide, kSide);
    look.hoverMs = 0;
    setLook(look);
    setAccessibleDescription(L("押すと、今日の分の印が変わります"));
    set(QString(), false);
}

void TodayMark::set(const QString &title, bool done)
{
    m_done = done;
    setAccessibleName(title);
    setWhatsThis(done ? L("今日は済ませました") : L("今日はまだ"));
    setToolTip(done ? L("今日は済ませています") : L("今日の分を済ませる"));
    update();
}

void TodayMark::setCardHover(bool hovering)
{
    if (hovering == m_cardHover)
        return;
    m_cardHover = hovering;
    update();
}

void TodayMark::draw(QPainter &painter, bool done, bool preview)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kSide / 2, kSide / 2);
    painter.setPen(QPen(done ? Kiv::moss() : Kiv::inkGhost(), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, kCircle / 2, kCircle / 2);
    if (done) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Kiv::moss());
        painter.drawEllipse(centre, kDot / 2, kDot / 2);
    } else if (preview) {
        const QSizeF side = SymbolPainter::size(8 * Kiv::scale());
        SymbolPainter::paint(painter, QRectF(centre - QPointF(side.width() / 2, side.height() / 2), side),
                             Symbol::checkmark, Kiv::moss(), SymbolWeight::medium);
    }
    painter.restore();
}

void TodayMark::paintLabel(QPainter &painter, const QRectF &rect, const QColor &)
{
    painter.save();
    painter.translate(rect.center() - QPointF(kSide / 2, kSide / 2));
    draw(painter, m_done, m_cardHover || isHovering());
    painter.restore();
}

QSizeF TodayMark::labelSize() const
{
    return QSizeF(kSide, kSide);
}
