#pragma once

#include <QListView>

class AppModel;
class HistoryDelegate;
class HistoryModel;

// The history as a lazy list: only the rows in view are painted (the
// delegate draws them; no widget is built per row). The header of the day
// at the top stays pinned while its rows scroll beneath it, pushed up by
// the next day's header. A record row shows its export button while the
// pointer is over it (or the keyboard's focus is on it) and calendar access
// is full; pressing it, or Return on that row, writes the record to the
// calendar. The context menu (right click, the menu key or Shift+F10) holds
// one action, removing the record, without a question. Both go through the
// application model; the rows follow from the store's change.
class HistoryList : public QListView
{
    Q_OBJECT
public:
    // still: drawn as a still picture (no scroll bars, no pinned header).
    HistoryList(HistoryModel *rows, AppModel *model, bool still, QWidget *parent = nullptr);

    HistoryModel *rows() const { return m_rows; }
    HistoryDelegate *delegate() const { return m_delegate; }
    // The row the pointer is over, -1 for none.
    int hoverRow() const;
    // The height every row together takes.
    int contentHeight() const;
    // The context menu of the record at this row, opened at `globalPos`
    // (shown without waiting; its action removes the record).
    void openMenu(int row, const QPoint &globalPos);

    // Rows painted since the last call (tests: only rows in view are built).
    int takePaintedRows();

    QModelIndex indexAt(const QPoint &point) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setHover(int row);
    // The header pinned at the top: its row and rectangle, or -1.
    int pinnedHeader(QRect *rect) const;
    void exportRow(int row);

    HistoryModel *m_rows;
    AppModel *m_model;
    HistoryDelegate *m_delegate;
    bool m_still;
    int m_pointerRow = -1;
};
