#pragma once

#include "model/HistoryModel.h"
#include "platform/calendar/CalendarStore.h"

#include <QStyledItemDelegate>

// Paints the rows of the history list: a day header (the date, then the
// day's focus count and minutes at the right) or a record row (the phase
// mark, the title over its time range, the calendar element and the
// minutes), with a hairline under every record row. Nothing is built per
// row; only rows in view are painted. Heights depend on the row's kind
// alone, so laying out a long history costs one model read per row.
class HistoryDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // What a record row shows at its calendar place, by row: the list tells
    // the delegate which row is hovered and whether the calendar allows an
    // export.
    explicit HistoryDelegate(QObject *parent = nullptr);

    // The row the pointer is over (or the keyboard's row), -1 for none.
    void setHoverRow(int row) { m_hoverRow = row; }
    int hoverRow() const { return m_hoverRow; }
    void setAccess(CalendarAccess access) { m_access = access; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    // Heights of the two kinds of row at the text scale in effect.
    static int headerHeight();
    static int recordHeight();

    // Where the calendar element of a record row stands in a row of this
    // rectangle: the export button (its text) or the calendar icon.
    static QRectF exportButtonRect(const QRect &row);
    static QRectF calendarIconRect(const QRect &row);

    // The calendar element of the record row at `index` as painted now.
    HistoryModel::CalendarElement calendarElement(const QModelIndex &index) const;

    // Rows painted since the last call (tests: only rows in view are built).
    int takePainted()
    {
        const int n = m_painted;
        m_painted = 0;
        return n;
    }

    // Draws a day header in `rect` (the list also draws the pinned one).
    static void paintHeader(QPainter &painter, const QRect &rect, const QString &date, const QString &totals);

private:
    void paintRecord(QPainter &painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;

    int m_hoverRow = -1;
    mutable int m_painted = 0;
    CalendarAccess m_access = CalendarAccess::NotDetermined;
};
