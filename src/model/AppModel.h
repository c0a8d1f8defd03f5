#pragma once

#include "core/Mode.h"
#include "core/Models.h"
#include "core/TaskSource.h"
#include "model/RootTab.h"
#include "sound/ChimeBell.h"
#include "sources/NewVersion.h"
#include "sources/PlanNotice.h"
#include "stores/LocalTask.h"
#include "stores/Lookback.h"
#include "sync/DriveSyncStore.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <functional>
#include <memory>
#include <optional>

class Ambience;
class AppSettings;
class CalendarService;
class ClockTimer;
class DayNoteStore;
class GoogleAuth;
class NoticeRoute;
class Notifier;
class PomodoroEngine;
class Preferences;
class SessionStore;
class SyncService;
class SyncStore;
class TaskHub;
struct DayPlan;

// The collaborators. Each one left empty is built by the model (and owned
// by it) or, for the process-wide ones, taken from their shared instance.
// Given ones are not owned and must outlive the model.
struct AppModelParts
{
    AppSettings *settings = nullptr;         // AppSettings::sharedInstance()
    SessionStore *store = nullptr;           // built over the data folder
    TaskHub *taskHub = nullptr;              // built with its own local task store
    DayNoteStore *days = nullptr;            // built over the data folder
    CalendarService *calendarService = nullptr; // built over the user's calendar folders
    // The calendars are first read on a worker thread (the program: so a
    // heavy user's calendars do not hold up the first window), at start when
    // rounds go to a calendar or to-dos come from the calendar folders, else
    // when first asked for; tests read them at once.
    bool readCalendarsInBackground = false;
    GoogleAuth *googleAuth = nullptr;        // built over the standard preferences
    Preferences *defaults = nullptr;         // Preferences::standard(): "startTab", "startMode"
    Notifier *notifier = nullptr;            // Notifier::shared()
    NoticeRoute *noticeRoute = nullptr;      // NoticeRoute::shared()
    Ambience *ambience = nullptr;            // Ambience::shared()
    std::function<void(ChimeBell)> ringBell; // Chime::shared().play
    std::function<void()> requestAttention;  // nothing
    NewVersionConfig updateFeed;
    QString version;                         // the running version; empty reads "0"
    // Where the Drive store talks to (tests: a local server).
    DriveSyncConfig drive;
    // Builds the store one sync runs against; empty: the Drive file over
    // the model's Google connection, a new one per sync.
    std::function<std::shared_ptr<SyncStore>()> syncStore;
};

// The one coordinator of the program. It owns the timer engine, the stores,
// the calendar service, the task hub, the sync service and the Google
// sign-in, turns their events into work (recording finished phases, bells,
// notifications, ambience) and offers the operations the screens call.
// Everything runs on the main thread; timed work runs on Clock::current().
class AppModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(std::optional<QString> notice READ notice WRITE setNotice NOTIFY noticeChanged)
    Q_PROPERTY(std::optional<AppModel::Preparing> preparing READ preparing NOTIFY preparingChanged)
    Q_PROPERTY(std::optional<QDateTime> lastRunEnded READ lastRunEnded NOTIFY lastRunEndedChanged)
    Q_PROPERTY(int glossaryRequest READ glossaryRequest WRITE setGlossaryRequest NOTIFY glossaryRequestChanged)
    Q_PROPERTY(RootTab tab READ tab WRITE setTab NOTIFY tabChanged)
    Q_PROPERTY(QList<PlanNotice::Item> planNotices READ planNotices NOTIFY planNoticesChanged)
    Q_PROPERTY(QList<PlanNotice::Item> planArrivals READ planArrivals NOTIFY planArrivalsChanged)
    Q_PROPERTY(std::optional<AppModel::ScheduledEnd> scheduledEnd READ scheduledEnd NOTIFY scheduledEndChanged)
    Q_PROPERTY(bool previewingAmbience READ previewingAmbience NOTIFY previewingAmbienceChanged)
    Q_PROPERTY(std::optional<NewVersion::Found> newVersion READ newVersion WRITE setNewVersion NOTIFY
                   newVersionChanged)
    // Derived texts; they follow every change of the engine and the settings.
    Q_PROPERTY(QString menuBarTitle READ menuBarTitle NOTIFY menuBarTitleChanged)
    Q_PROPERTY(QString ambienceTitle READ ambienceTitle NOTIFY ambienceTitleChanged)
    Q_PROPERTY(bool showsSanshinFooter READ showsSanshinFooter NOTIFY showsSanshinFooterChanged)
    Q_PROPERTY(std::optional<AppModel::Sweeping> sweeping READ sweeping WRITE setSweeping NOTIFY sweepingChanged)

public:
    // Seconds after which a notice clears itself.
    static constexpr qint64 kNoticeMs = 4000;
    // A run begun within this many seconds of the last recorded phase skips the preparation.
    static constexpr qint64 kPreparationGapSeconds = 300;
    // Length of an ambience preview.
    static constexpr double kPreviewSeconds = 14.0;

    struct Preparing
    {
        Mode mode = Mode::quick;
        Preparation step = Preparation::body;
        bool operator==(const Preparing &) const = default;
    };
    struct ScheduledEnd
    {
        QDateTime at;
        QString title;
        bool operator==(const ScheduledEnd &) const = default;
    };

    // The pages of the sweep-day flow, in order; asking carries the index of
    // the quiet task it asks about.
    struct SweepStep
    {
        enum class Kind { opening, looking, asking, tidying, resting, standing };
        Kind kind = Kind::opening;
        int index = 0; // only for asking

        static SweepStep opening() { return {Kind::opening, 0}; }
        static SweepStep looking() { return {Kind::looking, 0}; }
        static SweepStep asking(int i) { return {Kind::asking, i}; }
        static SweepStep tidying() { return {Kind::tidying, 0}; }
        static SweepStep resting() { return {Kind::resting, 0}; }
        static SweepStep standing() { return {Kind::standing, 0}; }
        // The step after this one when the sweep has that many quiet tasks.
        static SweepStep following(SweepStep step, int targets);

        bool operator==(const SweepStep &o) const
        {
            return kind == o.kind && (kind != Kind::asking || index == o.index);
        }
    };
    // A sweep under way: its page and the quiet tasks taken when it began.
    struct Sweeping
    {
        SweepStep step;
        QList<LocalTask> targets;
        bool operator==(const Sweeping &) const = default;
    };

    // Seconds after a local change before the quiet sync, and the delay of a
    // sync that comes due while another runs.
    static constexpr double kSyncDelaySeconds = 5;
    static constexpr double kSyncRetrySeconds = 10;
    // Quiet sync failures are told at most this often.
    static constexpr qint64 kFailureQuietSeconds = 1800;
    static constexpr qint64 kDisconnectedNoticeMs = 1500;
    // At most this many quiet tasks are asked about in one sweep.
    static constexpr int kSweepLimit = 7;

    using Parts = AppModelParts;

    explicit AppModel(Parts parts = Parts(), QObject *parent = nullptr);
    ~AppModel() override;

    // Collaborators.
    AppSettings &settings() const { return *m_settings; }
    PomodoroEngine &engine() const { return *m_engine; }
    SessionStore &store() const { return *m_store; }
    CalendarService &calendarService() const { return *m_calendarService; }
    TaskHub &taskHub() const { return *m_taskHub; }
    DayNoteStore &days() const { return *m_days; }
    SyncService &sync() const { return *m_sync; }
    GoogleAuth &googleAuth() const { return *m_googleAuth; }

    // Observable state.
    std::optional<QString> notice() const { return m_notice; }
    void setNotice(const std::optional<QString> &notice);
    std::optional<Preparing> preparing() const { return m_preparing; }
    std::optional<QDateTime> lastRunEnded() const { return m_lastRunEnded; }
    int glossaryRequest() const { return m_glossaryRequest; }
    void setGlossaryRequest(int request);
    RootTab tab() const { return m_tab; }
    void setTab(RootTab tab);
    QList<PlanNotice::Item> planNotices() const { return m_planNotices; }
    QList<PlanNotice::Item> planArrivals() const { return m_planArrivals; }
    std::optional<ScheduledEnd> scheduledEnd() const { return m_scheduledEnd; }
    bool previewingAmbience() const { return m_previewingAmbience; }
    std::optional<NewVersion::Found> newVersion() const { return m_newVersion; }
    void setNewVersion(const std::optional<NewVersion::Found> &found);

    // The transient notice: shown now, cleared after 4 s unless replaced.
    void showNotice(const QString &text);

    // The files that could not be read at start and were kept aside (their
    // stores and settings started empty): one line for each, in the
    // interface language. They stay until the user dismisses them, so that
    // an introduction in front or a passing notice cannot hide them.
    QStringList keptAside() const { return m_keptAside; }
    void dismissKeptAside();
    // What the notice banner shows: the transient notice while there is one
    // (it is brief), else the kept-aside lines, which only the user puts away.
    struct NoticeBanner
    {
        QString text;
        bool dismissable = false;
        bool operator==(const NoticeBanner &) const = default;
    };
    std::optional<NoticeBanner> noticeBanner() const;

    // Beginning rounds and the preparation.
    void begin(Mode mode);
    void beginRounds(const QStringList &titles);
    void advancePreparation();
    void skipPreparation();
    void cancelPreparation();

    // The program is ending (quit, a closed last window, a signal, the end of
    // the session): a round under way is let go as stop() lets it go, so its
    // worked part is recorded, saved and written back to its task now rather
    // than on a later turn that will never come. A preparation is dropped.
    // Later calls do nothing.
    //
    // Quietly: the screens are past use (the process is in exit(), its
    // display gone and Qt's own objects half torn down), so the model and its
    // collaborators send no Qt signal while it records; only the files are
    // written.
    enum class Ending { withScreens, quietly };
    void endForQuit(Ending ending = Ending::withScreens);
    bool isEnding() const { return m_ending; }

    // Recording finished phases and the run-change work.
    void record(const SessionRecord &record);
    std::optional<TaskRef> taskRefForCurrentTitle() const;
    bool shouldSendToCalendar(const SessionRecord &record) const;
    void writeBackToTask(const SessionRecord &record);
    void signal(Phase phase);
    void signalPlanCompleted(Mode mode);
    void updateAmbience(Phase phase, RunState state);

    // Notices of phase ends, plans and day prompts.
    void updateScheduledNotice();
    void updatePlanNotices(const QDateTime &now);
    void applyDayPrompts();
    void takePlan(const QUuid &planID, const QString &day);

    // Task operations around rounds.
    void take(const TodoItem &item);
    void take(const DayPlan &plan);
    QStringList roundsToDwell() const;
    void dwell(const QString &title);
    QString pausedHelp() const;
    std::optional<TodoItem> linkedTask() const;
    void completeSelectedTask();

    // What shows the running clock: to a fraction of a second, the timer
    // screen in sight (shown, its window not minimised) with a face that
    // moves with the engine's ticks (the breathing ring), and the tray's
    // menu open; in whole seconds (or minutes), the timer screen in sight
    // with a face that draws its own frames (the incense, the walker: its
    // digits show whole seconds) and the tray item's title and icon. The
    // engine ticks as finely as the finest of them needs, and only at a
    // phase's end when none is there.
    enum class ClockViewer : unsigned { timerScreen = 1, trayMenu = 2, trayItem = 4, timerScreenSeconds = 8 };
    void setClockInSight(ClockViewer viewer, bool inSight);

    // The menu-bar title, the ambience preview and the update check.
    QString menuBarTitle() const;
    void previewAmbience();
    void endAmbiencePreview();
    // Rings the bell chosen in the settings at once (to hear it).
    void ringChosenBell();
    QString ambienceTitle() const;
    // Looks for a newer version (at most once a day once one was found);
    // done, when given, is called once the answer is in.
    void lookForNewVersion(std::function<void()> done = {});
    bool showsSanshinFooter() const;

    // Day plans and deeds. A timed plan is mirrored as an event in the plan
    // calendar; day is any instant of the day.
    void placePlan(DayPlan plan, const QDateTime &day);
    void removePlan(const QUuid &planID, const QDateTime &day);
    DayPlan placeOnDay(const LocalTask &task, const QDateTime &day);
    // Removes the task's plans of that day, or of that day and every later one.
    void unplace(const QUuid &taskID, const QDateTime &day);
    void unplaceFrom(const QUuid &taskID, const QDateTime &firstDay);
    // The starts of the days, from firstDay's on, on which the task is placed.
    QList<QDateTime> placedDays(const QUuid &taskID, const QDateTime &firstDay) const;
    std::optional<LocalTask> localTask(const TaskRef &ref) const;
    // The line under a task's title in the task choosers: when it is due and
    // the first day from today on it is placed on; nothing when neither.
    std::optional<QString> pickerNote(const TodoItem &item) const;
    // Today, tomorrow, or the short month and day of the date.
    static QString nearDayLabel(const QDateTime &date);
    void movePlan(const QUuid &planID, int startMinutes, int minutes, const QDateTime &day);
    void removeDeed(const QUuid &recordID);
    // Hand-written deeds of the day page, at wall-clock minutes of the day.
    // writeDeed appends a finished focus record marked manual (a blank
    // title reads "只管") and gives it. editDeed changes a hand-written
    // record: its times, its title unless blank, its calendar copy with it;
    // gives false and writes nothing for a record gone or not hand-written.
    SessionRecord writeDeed(const QString &title, int startMinutes, int minutes, const QDateTime &day);
    bool editDeed(const QUuid &recordID, const QString &title, int startMinutes, int minutes, const QDateTime &day);
    void exportToCalendar(const SessionRecord &record);

    // Calendar choices by title: the titles of this machine's chosen
    // calendars go into the synced settings, and synced titles are turned
    // back into this machine's calendars.
    void rememberCalendarNames(bool fromUser);
    void resolveCalendarNames();

    // Sync scheduling. syncSoon replaces any sync scheduled before; syncNow
    // runs one sync now and gives the text of its outcome; syncIfStale runs
    // a quiet sync unless one was tried within the last seconds and gives
    // whether it ran one.
    void syncSoon(double afterSeconds);
    void syncNow(bool quiet, std::function<void(QString)> done = {});
    void syncIfStale(double withinSeconds, std::function<void(bool)> done = {});
    void tellIfDisconnected();

    // Merges an exported file into the stores, shows the merged tasks at
    // once and tells the counts, or why nothing was taken in, as the notice.
    // Gives whether the file was taken in.
    bool importArchive(const QString &path);
    // Writes every record, task and day note into one file at path, whole
    // or not at all (an existing file is replaced in one step), complete or
    // with titles hidden, and tells the outcome as the notice. Gives whether
    // the file was written.
    bool exportArchive(const QString &path, bool hidingTitles);

    // The sweep-day flow.
    // A sweep day not yet swept, with local tasks to sweep.
    bool needsSweep() const;
    std::optional<Sweeping> sweeping() const { return m_sweeping; }
    void setSweeping(const std::optional<Sweeping> &sweeping);
    std::optional<LocalTask> sweepingTask() const;
    void beginSweep();
    Lookback::Summary lookback() const;
    void answerSweep(bool keep);
    void endSweep(const std::optional<QString> &guide);
    // The day page invites a sweep: on a sweep day not yet swept, or once
    // the guide set at the last sweep has lapsed.
    bool invitesShikunichi() const;

signals:
    void noticeChanged();
    void keptAsideChanged();
    void preparingChanged();
    void lastRunEndedChanged();
    void glossaryRequestChanged();
    void tabChanged();
    void planNoticesChanged();
    void planArrivalsChanged();
    void scheduledEndChanged();
    void previewingAmbienceChanged();
    void newVersionChanged();
    void menuBarTitleChanged();
    void ambienceTitleChanged();
    void showsSanshinFooterChanged();
    void sweepingChanged();

private:
    // Starts reading the calendars, now or when they are first asked for.
    void readCalendarsWhenWanted();
    template<typename T, typename Signal>
    void assign(T &field, const T &value, Signal notify)
    {
        if (field == value)
            return;
        field = value;
        emit(this->*notify)();
    }
    // Runs fn on a later turn of the event loop (through the clock), unless
    // the model is gone by then.
    void later(std::function<void()> fn);
    void wireCallbacks();
    void wireDerivedSignals();
    void startUp();
    void localDataChanged();
    std::shared_ptr<SyncStore> syncStore(bool quiet);
    void syncEnded(bool ok, bool quiet, const std::function<void(QString)> &done);
    std::optional<int> sweepingIndex() const;
    void runPreparationStep();
    void beginEngine(Mode mode);
    void setPreparing(const std::optional<Preparing> &preparing);
    void setLastRunEnded(const std::optional<QDateTime> &at);
    void setPlanLists(const QList<PlanNotice::Item> &advance, const QList<PlanNotice::Item> &arrivals);
    void setScheduledEnd(const std::optional<ScheduledEnd> &end);
    void setPreviewingAmbience(bool previewing);
    void ring(ChimeBell bell);
    void selectAndTitle(const std::optional<TodoItem> &item, const QString &title, bool stopFirst);
    QList<TodoItem> candidates() const;

    // Owned collaborators (empty when given).
    std::unique_ptr<GoogleAuth> m_ownGoogleAuth;
    std::unique_ptr<SessionStore> m_ownStore;
    std::unique_ptr<CalendarService> m_ownCalendarService;
    std::unique_ptr<TaskHub> m_ownTaskHub;
    std::unique_ptr<DayNoteStore> m_ownDays;

    AppSettings *m_settings = nullptr;
    std::unique_ptr<PomodoroEngine> m_engine;
    // The viewers (ClockViewer bits) that have the clock in sight; until the
    // timer screen says otherwise it is taken to be in sight.
    unsigned m_clockViewers = unsigned(ClockViewer::timerScreen);
    SessionStore *m_store = nullptr;
    CalendarService *m_calendarService = nullptr;
    TaskHub *m_taskHub = nullptr;
    DayNoteStore *m_days = nullptr;
    std::unique_ptr<SyncService> m_sync;
    GoogleAuth *m_googleAuth = nullptr;

    Preferences *m_defaults = nullptr;
    Notifier *m_notifier = nullptr;
    NoticeRoute *m_noticeRoute = nullptr;
    Ambience *m_ambience = nullptr;
    std::function<void(ChimeBell)> m_ringBell;
    std::function<void()> m_requestAttention;
    NewVersionConfig m_updateFeed;
    QString m_version;

    std::optional<QString> m_notice;
    QStringList m_keptAside;
    bool m_didWarnAboutCalendar = false;
    std::optional<Preparing> m_preparing;
    std::unique_ptr<ClockTimer> m_preparationFlow;
    std::optional<QDateTime> m_lastRunEnded;
    QStringList m_pendingRounds;
    int m_glossaryRequest = 0;
    RootTab m_tab = RootTab::pomodoro;
    QList<PlanNotice::Item> m_planNotices;
    QList<PlanNotice::Item> m_planArrivals;
    std::optional<ScheduledEnd> m_scheduledEnd;
    bool m_previewingAmbience = false;
    std::unique_ptr<ClockTimer> m_previewWatch;
    std::optional<NewVersion::Found> m_newVersion;

    DriveSyncConfig m_driveConfig;
    std::function<std::shared_ptr<SyncStore>()> m_syncStoreFactory;
    std::optional<QDateTime> m_lastQuietSyncAt;
    std::unique_ptr<ClockTimer> m_pushSoon;
    bool m_syncing = false;
    std::optional<QDateTime> m_lastFailureToldAt;
    bool m_toldDisconnected = false;

    std::optional<Sweeping> m_sweeping;
    bool m_ending = false;
};
