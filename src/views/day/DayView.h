#pragma once

#include "stores/LocalTask.h"
#include "views/day/DayTimeline.h"
#include "views/day/DayLineActions.h"
#include "views/day/DayPageRules.h"
#include "views/ink/ViewContext.h"
#include "views/reading/SanshinNotePresenter.h"

#include <QDate>
#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <memory>

class ClockTimer;
class DayCard;
class ElidedLabel;
class InkButton;
class PlacePicker;
class QScrollArea;

class QVBoxLayout;
class DaySheet;


// The page of the "day" tab: one calendar day at a time. It keeps the
// page's state (the day, its events and deeds, the sheets), reads the day
// again when it comes on screen, when the program becomes active and when
// the calendar folders change, ticks every 60 s while shown (re-reading
// after 300 s), and builds again only what the day shows differently.
// Steps from day to day by the header arrows and ← →.
class DayView : public QWidget
{
    Q_OBJECT
public:
    explicit DayView(const ViewContext &context, QWidget *parent = nullptr);
    ~DayView() override;

    QDate day() const { return m_day; }
    // Shows another day (as the arrows do).
    void setDay(const QDate &day);
    void move(int days);
    bool isPastDay() const;
    bool isToday() const;
    QDateTime now() const { return m_now; }
    QDateTime openedAt() const { return m_openedAt; }
    QDateTime lastRead() const { return m_lastRead; }
    // How many times the timeline was handed something new (tests: the
    // tick and folder changes that change nothing build nothing).
    int builds() const { return m_line->builds(); }
    const QList<DayEvent> &events() const { return m_events; }
    const QList<DayDeed> &deeds() const { return m_deeds; }
    DayTimeline *line() const { return m_line; }
    QScrollArea *scrollArea() const { return m_scroll; }

    // Opens the sheets as the rows do.
    void openPicker(DayLine::Opening gap, bool asDeed);
    void openPlanEditor(const DayPlan &plan);
    void openDeedEditor(const DayDeed &deed);
    QWidget *openSheet() const;
    // The note on the shown day's mind, opened by its standing line.
    SanshinNotePresenter *mindNote() const { return m_mindNote; }

    // The page's writer of a timed plan or a hand-written deed.
    void place(const std::optional<LocalTask> &task, bool isDaily, int start, int minutes, bool asDeed);

signals:
    // "設定を開く": the shell shows the settings, where the calendar folders are chosen.
    void calendarSettingsRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildTop(QVBoxLayout *column);
    void appear();
    void reload();
    void gather();
    void takeEvents(const QList<DayEvent> &raw);
    void deriveDeeds();
    void adoptFromSync();
    void tick();
    void scheduleRefresh();
    void refresh();
    void refreshStanding();
    void openMindNote();
    void scrollToNow();
    QDateTime dayMoment() const;
    std::optional<int> nowForSheets() const;
    void showSheet(DaySheet *sheet);
    void askToRemove(const DayDeed &deed);

    ViewContext m_context;
    QDate m_day;
    QDateTime m_now;
    QDateTime m_openedAt;
    QDateTime m_lastRead;
    QString m_morningExample;
    QString m_eveningExample;
    QList<DayEvent> m_events;
    QList<DayDeed> m_deeds;
    QList<DayDeed> m_calendarDeeds;
    QDate m_eventsDay;        // the day m_events and m_calendarDeeds belong to
    quint64 m_eventsRead = 0; // the latest read of the events asked for
    bool m_refreshQueued = false;
    QList<DayPageRules::StandingLine> m_standing;
    bool m_standingBuilt = false;
    DayLineActions m_actions;

    std::unique_ptr<ClockTimer> m_clock;
    QWidget *m_top = nullptr;
    InkButton *m_back = nullptr;
    InkButton *m_forward = nullptr;
    ElidedLabel *m_title = nullptr;
    InkButton *m_toToday = nullptr;
    ElidedLabel *m_keysHint = nullptr;
    QWidget *m_standingBox = nullptr;
    QPointer<SanshinNotePresenter> m_mindNote;
    QPointer<QWidget> m_mindRow;
    QVBoxLayout *m_standingLayout = nullptr;
    QWidget *m_banner = nullptr;
    InkButton *m_bannerButton = nullptr;
    QScrollArea *m_scroll = nullptr;
    DayCard *m_morning = nullptr;
    DayCard *m_evening = nullptr;
    DayTimeline *m_line = nullptr;
    QPointer<DaySheet> m_sheet;
};
