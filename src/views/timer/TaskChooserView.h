#pragma once

#include "views/ink/Animation.h"
#include "views/ink/ViewContext.h"
#include "views/timer/TaskChooserList.h"

#include <QListView>
#include <functional>
#include <optional>

class QStandardItemModel;

// The scrolling list of a task chooser: section headers, task rows (title
// and, when the model gives one, the note line under it) and the undated
// fold, as TaskChooserList lays them out. Rows are painted, not built as
// widgets, so only the rows in view cost anything however long the hub's
// lists grow. Its height follows its content up to a cap, then it scrolls.
//
// Two looks: the task picker's rows (a dot, a paper fill under the pointer)
// and the rounds picker's (a circle holding the row's place in the order).
// A click, Space or Return on a task row emits chosen(); on the fold row it
// flips the fold, which this view keeps (closed when built): the undated
// rows grow from nothing and fade in over 0.15 s, and shrink and fade out
// the same way before they go. Arrows move between rows, skipping headers.
class TaskChooserView : public QListView
{
    Q_OBJECT
public:
    enum class Look { picker, rounds };

    TaskChooserView(const ViewContext &context, Look look, double maxHeight, QWidget *parent = nullptr);

    // Lays the rows out again from the lists (the fold keeps its state).
    void setList(const TaskChooserList &list);
    // The rounds look: the place of a title in the order, if chosen.
    void setPositions(std::function<std::optional<int>(const QString &)> positions);
    // Repaints the marks after the order changed.
    void refreshMarks();

    bool showsUndated() const { return m_showsUndated; }
    const QList<TaskChooserList::Row> &rows() const { return m_rows; }
    // The note line of a row, if any ("Due Today · Placed: Tomorrow").
    std::optional<QString> noteOf(int row) const;
    // Where a row lies in the view's viewport (tests click there).
    QRect rowRect(int row) const;
    int rowOf(const QString &title) const;
    int foldRow() const;
    // The share of their height that the undated rows take (1 open, 0
    // closed; between while the fold moves).
    double foldLevel() const { return m_fold.value(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void chosen(const TodoItem &item);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    class Delegate;
    friend class Delegate;

    void rebuild();
    void activate(const QModelIndex &index);
    double rowHeight(int row) const;
    double fullRowHeight(int row) const;
    bool isUndated(int row) const { return row >= m_undatedFirst && row < m_undatedFirst + m_undatedCount; }
    void foldStepped();
    double contentHeight() const;
    QMargins padding() const;

    ViewContext m_context;
    Look m_look;
    double m_maxHeight;
    TaskChooserList m_list;
    QList<TaskChooserList::Row> m_rows;
    QList<std::optional<QString>> m_notes;
    bool m_showsUndated = false;
    Animation m_fold;
    // The undated rows among m_rows (listed while open and while closing).
    int m_undatedFirst = -1;
    int m_undatedCount = 0;
    // The focus ring shows only while the keyboard is in use.
    bool m_keyboardFocus = false;
    std::function<std::optional<int>(const QString &)> m_positions;
    QStandardItemModel *m_model;
};
