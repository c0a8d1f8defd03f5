#include "views/reading/HistoryDelegate.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/SymbolPainter.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

namespace {

constexpr int kSide = 20;     // left and right padding of every row
constexpr int kVertical = 10; // top and bottom padding of every row
constexpr int kSpacing = 12;  // between the parts of a record row
constexpr int kMarkWidth = 16;
constexpr int kMinutesWidth = 40;

// The fonts of the list, made again only when the text scale or the
// language changes.
struct Fonts
{
    double scale = -1;
    bool japanese = false;
    QFont date, totals, mark, title, range, minutes, exportButton;
    double headerHeight = 0, recordHeight = 0, iconSide = 0;
};

const Fonts &fonts()
{
    static Fonts f;
    if (f.scale != Kiv::scale() || f.japanese != Lang::isJapanese()) {
        f.scale = Kiv::scale();
        f.japanese = Lang::isJapanese();
        f.date = Kiv::tracked(Kiv::font(12, Kiv::Design::serif), 1.0, 0.12);
        f.totals = Kiv::font(12);
        f.mark = Kiv::font(13, Kiv::Design::serif);
        f.title = Kiv::font(13, Kiv::Design::serif);
        f.range = Kiv::font(12);
        f.minutes = Kiv::font(12);
        f.exportButton = Kiv::font(12);
        f.headerHeight = std::ceil(2 * kVertical + Kiv::lineHeight(f.date));
        f.recordHeight = std::ceil(2 * kVertical + Kiv::lineHeight(f.title) + 2 + Kiv::lineHeight(f.range));
        f.iconSide = SymbolPainter::size(11 * Kiv::scale()).width();
    }
    return f;
}

// The minutes' frame: 40 wide, or as wide as the longest minutes text
// ("999分" / "999 min") needs at a large text scale, so none is cut.
double minutesWidth()
{
    static double scale = -1;
    static bool japanese = false;
    static double width = kMinutesWidth;
    if (scale != Kiv::scale() || japanese != Lang::isJapanese()) {
        scale = Kiv::scale();
        japanese = Lang::isJapanese();
        width = std::max<double>(kMinutesWidth, std::ceil(QFontMetricsF(Kiv::font(12)).horizontalAdvance(
                                                    L(QStringLiteral("{0}分"), 999))));
    }
    return width;
}

// The right edge of the space left of the minutes' frame.
double beforeMinutes(const QRect &row)
{
    return row.right() + 1 - kSide - minutesWidth() - kSpacing;
}

void drawLine(QPainter &painter, const QFont &font, const QColor &colour, const QRectF &box, double centreY,
              const QString &text, Qt::Alignment align)
{
    painter.setFont(font);
    painter.setPen(colour);
    const QFontMetricsF metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, box.width());
    const double width = metrics.horizontalAdvance(shown);
    double x = box.left();
    if (align & Qt::AlignRight)
        x = box.right() - width;
    else if (align & Qt::AlignHCenter)
        x = box.center().x() - width / 2;
    painter.drawText(QPointF(x, Kiv::baselineFor(font, centreY)), shown);
}

} // namespace

HistoryDelegate::HistoryDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

int HistoryDelegate::headerHeight()
{
    return int(fonts().headerHeight);
}

int HistoryDelegate::recordHeight()
{
    return int(fonts().recordHeight);
}

QSize HistoryDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool header = index.data(HistoryModel::KindRole).value<HistoryModel::RowKind>()
                        == HistoryModel::RowKind::dayHeader;
    return QSize(option.rect.width() > 0 ? option.rect.width() : 420, header ? headerHeight() : recordHeight());
}

QRectF HistoryDelegate::exportButtonRect(const QRect &row)
{
    const Fonts &f = fonts();
    const QString text = HistoryModel::exportButtonText();
    const double width = std::ceil(QFontMetricsF(f.exportButton).horizontalAdvance(text));
    const double height = Kiv::lineHeight(f.exportButton) + 8;
    const double right = beforeMinutes(row);
    return QRectF(right - width, row.center().y() + 0.5 - height / 2, width, height);
}

QRectF HistoryDelegate::calendarIconRect(const QRect &row)
{
    const double side = fonts().iconSide;
    return QRectF(beforeMinutes(row) - side, row.center().y() + 0.5 - side / 2, side, side);
}

HistoryModel::CalendarElement HistoryDelegate::calendarElement(const QModelIndex &index) const
{
    if (index.data(HistoryModel::KindRole).value<HistoryModel::RowKind>() != HistoryModel::RowKind::record)
        return HistoryModel::CalendarElement::none;
    return HistoryModel::calendarElement(index.data(HistoryModel::HasCalendarEventRole).toBool(),
                                         index.row() == m_hoverRow, m_access);
}

void HistoryDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    ++m_painted;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    if (index.data(HistoryModel::KindRole).value<HistoryModel::RowKind>() == HistoryModel::RowKind::dayHeader)
        paintHeader(*painter, option.rect, index.data(HistoryModel::DateTextRole).toString(),
                    index.data(HistoryModel::TotalsTextRole).toString());
    else
        paintRecord(*painter, option, index);
    // The keyboard's row carries the focus ring.
    if ((option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_KeyboardFocusChange)) {
        const QRectF ring = QRectF(option.rect).adjusted(3, 2, -3, -2);
        QPainterPath path;
        path.addRoundedRect(ring, 6, 6);
        painter->strokePath(path, QPen(Kiv::indigo(0.6), 1.5));
    }
    painter->restore();
}

void HistoryDelegate::paintHeader(QPainter &painter, const QRect &rect, const QString &date, const QString &totals)
{
    const Fonts &f = fonts();
    // The paper behind, so that a pinned header covers the rows beneath it.
    painter.fillRect(rect, Kiv::paper());
    const double centre = rect.top() + rect.height() / 2.0;
    const QRectF inner = QRectF(rect).adjusted(kSide, 0, -kSide, 0);
    const double totalsWidth = QFontMetricsF(f.totals).horizontalAdvance(totals);
    drawLine(painter, f.totals, Kiv::inkSoft(), inner, centre, totals, Qt::AlignRight);
    drawLine(painter, f.date, Kiv::inkSoft(), inner.adjusted(0, 0, -totalsWidth - 8, 0), centre, date,
             Qt::AlignLeft);
}

void HistoryDelegate::paintRecord(QPainter &painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    const Fonts &f = fonts();
    const QRect &rect = option.rect;
    if (index.row() == m_hoverRow)
        painter.fillRect(rect, Kiv::paperRaised());

    const double centre = rect.top() + rect.height() / 2.0;
    const bool focus = Phase(index.data(HistoryModel::PhaseRole).toInt()) == Phase::focus;
    const QRectF markBox(rect.left() + kSide, rect.top(), kMarkWidth, rect.height());
    drawLine(painter, f.mark, focus ? Kiv::indigo() : Kiv::moss(), markBox, centre,
             index.data(HistoryModel::MarkRole).toString(), Qt::AlignHCenter);

    // The minutes in their frame at the right.
    const QRectF minutesBox(rect.right() + 1 - kSide - minutesWidth(), rect.top(), minutesWidth(), rect.height());
    drawLine(painter, f.minutes, Kiv::inkSoft(), minutesBox, centre,
             index.data(HistoryModel::MinutesTextRole).toString(), Qt::AlignRight);

    // The calendar element left of the minutes.
    double textRight = beforeMinutes(rect);
    switch (calendarElement(index)) {
    case HistoryModel::CalendarElement::icon: {
        const QRectF icon = calendarIconRect(rect);
        SymbolPainter::paint(painter, icon, Symbol::calendar, Kiv::inkSoft());
        textRight = icon.left() - kSpacing;
        break;
    }
    case HistoryModel::CalendarElement::exportButton: {
        const QRectF button = exportButtonRect(rect);
        drawLine(painter, f.exportButton, Kiv::indigo(), button, centre, HistoryModel::exportButtonText(),
                 Qt::AlignLeft);
        textRight = button.left() - kSpacing;
        break;
    }
    case HistoryModel::CalendarElement::none:
        break;
    }

    // The title over its time range, each on one line.
    const double left = markBox.right() + kSpacing;
    const QRectF textBox(left, rect.top(), std::max(0.0, textRight - left), rect.height());
    const double titleHeight = Kiv::lineHeight(f.title);
    const double rangeHeight = Kiv::lineHeight(f.range);
    const double top = centre - (titleHeight + 2 + rangeHeight) / 2;
    const bool completed = index.data(HistoryModel::CompletedRole).toBool();
    drawLine(painter, f.title, completed ? Kiv::ink() : Kiv::inkSoft(), textBox, top + titleHeight / 2,
             index.data(HistoryModel::TitleRole).toString(), Qt::AlignLeft);
    drawLine(painter, f.range, Kiv::inkFaint(), textBox, top + titleHeight + 2 + rangeHeight / 2,
             index.data(HistoryModel::TimeRangeRole).toString(), Qt::AlignLeft);

    // The divider under every record, the last of a day included.
    painter.fillRect(QRectF(rect.left(), rect.bottom(), rect.width(), 1), Kiv::hairline());
}

bool HistoryDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                const QModelIndex &index)
{
    if (event->type() == QEvent::ToolTip && calendarElement(index) == HistoryModel::CalendarElement::icon
        && calendarIconRect(option.rect).adjusted(-4, -4, 4, 4).contains(event->pos())) {
        QToolTip::showText(event->globalPos(), HistoryModel::calendarIconTip(), view);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}
