#pragma once

#include "views/day/DayLineActions.h"
#include "views/day/DayLineRules.h"

#include <QWidget>

class QVBoxLayout;
class QHBoxLayout;

// One half of an hour row: the spine with its planned and done marks, the
// entries that begin in the half (in one column, or planned and done side
// by side), the button over the half's free stretch and the now line.
class SlotHalf : public QWidget
{
    Q_OBJECT
public:
    SlotHalf(bool upper, bool snapshot, QWidget *parent = nullptr);

    void build(const SlotRowModel &model, bool twoColumns, const DayLineActions *actions);

    // Spine and now line of a half of height h (the painting, for tests and pictures).
    static void drawSpine(QPainter &p, double height, const SlotRowModel &model, bool upper);

public:
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The entries of this half, to build them again only when they change.
    struct Entries
    {
        QList<DayEvent> events;
        QList<DayPlan> plans;
        QList<DayDeed> deeds;
        bool twoColumns = false;
        const DayLineActions *actions = nullptr;
        bool operator==(const Entries &) const = default;
    };
    class InkButton *makeOpening();
    void setOpening(class InkButton *button, std::optional<DayLine::Opening> opening, std::optional<bool> asDeed);
    static void clear(QVBoxLayout *box);

    bool m_upper;
    bool m_snapshot;
    SlotRowModel m_model;
    Entries m_entries;
    bool m_built = false;
    const DayLineActions *m_actions = nullptr;
    QWidget *m_right = nullptr;
    QVBoxLayout *m_planned = nullptr;
    QVBoxLayout *m_done = nullptr;
    class InkButton *m_openLeft = nullptr;
    class InkButton *m_openRight = nullptr;
};
