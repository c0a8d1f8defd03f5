#pragma once

#include "platform/calendar/CalendarStore.h"
#include "views/day/DayLineActions.h"
#include "views/day/DayLineRules.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class ElidedLabel;
class InkButton;
class QVBoxLayout;
class SlotRow;
class TextBlock;

// The timeline of the day page: its header with the calendar-access button,
// the legend, the hint, the all-day events, the day-only plans, the reason
// why no events show, the column header on wide pages and the 24 hour rows
// ("hour-0" … "hour-23"). It shows what set() hands it and builds again
// only the parts that changed.
class DayTimeline : public QWidget
{
    Q_OBJECT
public:
    struct Input
    {
        QList<DayEvent> events; // the day's events other than the program's own
        QList<DayPlan> plans;   // the day note's plans, in stored order
        QList<DayDeed> deeds;
        QList<DayDeed> calendarDeeds;
        bool today = false;
        int nowMinute = 0;
        CalendarAccess access = CalendarAccess::NotDetermined;
        bool operator==(const Input &) const = default;
    };

    DayTimeline(bool snapshot, QWidget *parent = nullptr);

    void set(const Input &input, const DayLineActions *actions);
    bool wide() const { return m_wide; }
    // How many times set() was handed something new to show.
    int builds() const { return m_builds; }
    SlotRow *row(int hour) const { return m_rows.value(hour); }
    // The free stretches of the day in time order (plan before deed): one
    // Tab stop among them, the up and down arrows (Home, End) move along
    // them; left and right still change the day.
    QList<InkButton *> openings() const;

    // The reason why no events show, by calendar access.
    static QString emptyReason(CalendarAccess access);

signals:
    // The width crossed 520 pt.
    void wideChanged(bool wide);
    void readCalendarsRequested();
    void calendarSettingsRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rebuildLists();
    void showNow(QWidget *line);
    // Gives the Tab stop to one opening (the one the user was on, else the
    // one at the present time, else the first) and click focus to the rest.
    void settleOpeningStop();

    bool m_snapshot;
    bool m_wide = false;
    bool m_haveInput = false;
    bool m_builtWide = false;
    int m_builds = 0;
    Input m_input;
    const DayLineActions *m_actions = nullptr;
    InkButton *m_readButton = nullptr;
    InkButton *m_settingsButton = nullptr;
    QWidget *m_lists = nullptr;
    QVBoxLayout *m_listsLayout = nullptr;
    TextBlock *m_reason = nullptr;
    QWidget *m_columnHeader = nullptr;
    QList<SlotRow *> m_rows;
    QPointer<InkButton> m_stop; // the opening Tab stops at
    bool m_stopChosen = false;  // the user went to it
};
