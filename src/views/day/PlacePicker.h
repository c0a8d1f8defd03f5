#pragma once

#include "stores/DayEvent.h"
#include "stores/LocalTask.h"
#include "views/day/DaySheet.h"
#include "views/ink/ViewContext.h"

#include <QDateTime>
#include <functional>
#include <optional>

class ElidedLabel;
class InkButton;
class PlainLineEdit;
class QScrollArea;
class QVBoxLayout;
class SegmentedControl;
class TextBlock;
class TimeAndLength;

// The sheet that fills a free stretch of the timeline: a plan or a deed,
// timed or (a plan) on the day only, a task from the open tasks or the
// daily practices, or a title typed on the spot. Timed plans and deeds go
// to the page's place closure; day-only plans and typed tasks the picker
// writes through the model. Every placement closes the sheet.
class PlacePicker : public DaySheet
{
    Q_OBJECT
public:
    using Place = std::function<void(const std::optional<LocalTask> &task, bool isDaily, int start, int minutes,
                                     bool asDeed)>;
    PlacePicker(const ViewContext &context, DayLine::Opening gap, const QDateTime &day, bool asDeedAtFirst,
                std::optional<int> now, Place place, QWidget *parent);

    int start() const;
    int minutes() const;
    bool asDeed() const { return m_asDeed; }
    bool dayOnly() const { return m_dayOnly; }

private:
    void setAsDeed(bool asDeed);
    void refresh();
    void rebuildList();
    void addSection(QVBoxLayout *into, QWidget *parent, const QString &title, const QList<LocalTask> &tasks, bool daily);
    void choose(const LocalTask &task, bool daily);
    void placeDraft();

    ViewContext m_context;
    DayLine::Opening m_gap;
    QDateTime m_day;
    std::optional<int> m_now;
    Place m_place;
    bool m_asDeed = false;
    bool m_dayOnly = false;
    bool m_showsUndated = false;

    SegmentedControl *m_mode = nullptr;
    ElidedLabel *m_title = nullptr;
    SegmentedControl *m_timing = nullptr;
    TextBlock *m_dayOnlyNote = nullptr;
    TimeAndLength *m_chooser = nullptr;
    PlainLineEdit *m_draft = nullptr;
    InkButton *m_placeDraft = nullptr;
    TextBlock *m_draftNote = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_list = nullptr;
    QVBoxLayout *m_listLayout = nullptr;
};
