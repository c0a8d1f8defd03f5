#pragma once

#include "views/ink/InkButton.h"
#include "views/tasks/UndatedFoldRow.h"

// The one-line toggle a task chooser puts in front of its undated tasks:
// "No date  {count}" and a chevron, right while closed and down while open.
// The host owns the open flag: it hands it in with set() from its refresh
// and hears the user's flips through openChanged(), after which it lists or
// hides its undated tasks. Below a count of 1 the fold is hidden (no row,
// no space). The row spans the width it is given and all of it is the hit
// area; Tab reaches it, Space and Return flip it.
class UndatedFold : public InkButton
{
    Q_OBJECT
public:
    explicit UndatedFold(QWidget *parent = nullptr);

    void set(int count, bool open);
    int count() const { return m_count; }
    bool isOpen() const { return m_row.open; }
    const UndatedFoldRow &row() const { return m_row; }

    // The label of a fold row (text, then chevron) drawn from the leading
    // edge of `rect`, centred vertically; list delegates draw it too.
    static void drawLabel(QPainter &painter, const QRectF &rect, const UndatedFoldRow &row, const QColor &colour);
    static QSizeF labelSizeOf(const UndatedFoldRow &row);
    // The padding above and below the label.
    static constexpr double kPadding = 8;
    // Hosts show and hide their undated tasks over this long (ease-out).
    static constexpr int kMotionMs = 150;

signals:
    // The user flipped the fold; `open` is the new state.
    void openChanged(bool open);

protected:
    void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour) override;
    QSizeF labelSize() const override;

private:
    void flip();

    int m_count = 0;
    UndatedFoldRow m_row;
};
