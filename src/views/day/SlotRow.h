#pragma once

#include "views/day/DayLineActions.h"
#include "views/day/DayLineRules.h"

#include <QWidget>

class SlotHalf;
class QLabel;

// One hour of the timeline: the hour label, the upper half (hh:00–hh:30)
// and the lower half (hh:30–hh+1), each with its spine, its entries, the
// invisible button over its first free stretch and the now line. A plan
// dragged here moves to hh:00 (only UUID texts are taken).
class SlotRow : public QWidget
{
    Q_OBJECT
public:
    SlotRow(int hour, bool snapshot, QWidget *parent = nullptr);

    // Shows the row; entries are built again only when the model differs.
    void set(const SlotRowModel &model, bool twoColumns, const DayLineActions *actions);
    const SlotRowModel &model() const { return m_model; }
    bool dropTargeted() const { return m_dropTargeted; }

    // The UUIDs among dropped texts, in order (one per line).
    static QList<QUuid> droppedIDs(const QStringList &texts);

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void setDropTargeted(bool on);

    SlotRowModel m_model;
    bool m_twoColumns = false;
    bool m_built = false;
    bool m_snapshot = false;
    bool m_dropTargeted = false;
    const DayLineActions *m_actions = nullptr;
    QLabel *m_label = nullptr;
    SlotHalf *m_upper = nullptr;
    SlotHalf *m_lower = nullptr;
};
