#include "Screens.h"

#include "ControlsSheet.h"
#include "SnapshotRig.h"
#include "app/AmbienceMenu.h"
#include "app/AmbiencePicker.h"
#include "app/FooterBar.h"
#include "app/MenuBarMenu.h"
#include "app/MenuFill.h"
#include "app/Pages.h"
#include "app/PaperWindow.h"
#include "app/QuillmereApp.h"
#include "app/RootView.h"
#include "app/RootWorkspace.h"
#include "app/SheetDialog.h"
#include "app/TabMeaning.h"
#include "app/TrayIconPainter.h"
#include "core/AppSettings.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "platform/calendar/CalendarStore.h"
#include "platform/fakes/FakeCalendarStore.h"
#include "platform/time/Clock.h"
#include "sound/AmbienceLibrary.h"
#include "sources/CalendarService.h"
#include "sources/RemindersTaskSource.h"
#include "sources/TaskHub.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "sync/GoogleAuth.h"
#include "sync/Keychain.h"
#include "views/daily/DailyCard.h"
#include "views/daily/DailyCardPanel.h"
#include "views/daily/DailyView.h"
#include "views/day/DayTimeline.h"
#include "views/day/DayView.h"
#include "views/day/DeedItem.h"
#include "views/day/SlotRow.h"
#include "views/ink/InkButton.h"
#include "views/ink/Popover.h"
#include "views/reading/HowToView.h"
#include "views/reading/IntroView.h"
#include "views/settings/SettingsView.h"
#include "views/tasks/TodoRow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QPainter>
#include <QVBoxLayout>

namespace {

const QSize kMain = RootView::kIdealSize;

// The main window as it opens on a tab, with nothing floating over it.
QWidget *root(SnapshotRig &rig, const ViewContext &context, RootTab tab)
{
    AppModel &model = rig.model();
    // A run left by the picture before goes without a record.
    model.cancelPreparation();
    if (model.engine().mode()) {
        model.engine().reset();
        model.engine().stop();
    }
    model.settings().setFocusVisual(FocusVisual::incense);
    model.setTab(tab);
    model.setNotice(std::nullopt);
    model.setNewVersion(std::nullopt);
    model.settings().setAlwaysOnTop(false);
    return new RootView(context, WindowActions());
}

// The running-round screen with a quick round that began `elapsedMs` ago:
// its focus in the chosen face, or (beginning with its break) the walk.
QWidget *running(SnapshotRig &rig, const ViewContext &context, FocusVisual face, bool walking, qint64 elapsedMs)
{
    QWidget *view = root(rig, context, RootTab::pomodoro);
    AppModel &model = rig.model();
    model.settings().setFocusVisual(face);
    const QDateTime now = Clock::current().now();
    rig.setNow(now.addMSecs(-elapsedMs));
    model.engine().begin(Mode::quick, walking);
    rig.setNow(now);
    rig.advance(0);
    return view;
}

// Runs `undo` once `widget` has gone (on the next turn, when no part of
// it is left to follow the model): a picture that changes the model for
// itself puts it back, so the pictures after it start from the same state.
void onGone(QWidget *widget, std::function<void()> undo)
{
    QObject::connect(widget, &QObject::destroyed, qApp,
                     [undo = std::move(undo)] { QMetaObject::invokeMethod(qApp, undo, Qt::QueuedConnection); });
}

// The first child of `root` with this object name, clicked.
void click(QWidget *root, const QString &name)
{
    if (auto *button = root ? root->findChild<QAbstractButton *>(name) : nullptr)
        button->click();
}

// The running-round screen of a run begun `elapsedMs` ago, then paused.
QWidget *paused(SnapshotRig &rig, const ViewContext &context, FocusVisual face, bool walking, qint64 elapsedMs)
{
    QWidget *view = running(rig, context, face, walking, elapsedMs);
    rig.model().engine().pause();
    return view;
}

// A rounds run over two of the sample tasks, in the walk after the first.
QWidget *roundsWalk(SnapshotRig &rig, const ViewContext &context)
{
    QWidget *view = root(rig, context, RootTab::pomodoro);
    PomodoroEngine &engine = rig.model().engine();
    engine.begin(Mode::rounds, false, {QStringLiteral("Draft the spring letter"), QStringLiteral("Tidy the workshop")});
    engine.finishPhase(false); // at once: no round is recorded
    rig.advance(20000);
    return view;
}

// A run just finished: the completion screen (of a rounds run: with the
// list of its tasks to stay with).
QWidget *finished(SnapshotRig &rig, const ViewContext &context, bool rounds)
{
    QWidget *view = root(rig, context, RootTab::pomodoro);
    PomodoroEngine &engine = rig.model().engine();
    if (rounds) {
        engine.begin(Mode::rounds, false, {QStringLiteral("Draft the spring letter"), QStringLiteral("Tidy the workshop")});
        for (int i = 0; i < 3; ++i)
            engine.finishPhase(false);
    } else {
        engine.begin(Mode::chore);
        engine.finishPhase(true);
    }
    return view;
}

// The open mode, counting up for 12 minutes.
QWidget *countingUp(SnapshotRig &rig, const ViewContext &context)
{
    QWidget *view = root(rig, context, RootTab::pomodoro);
    rig.model().engine().begin(Mode::open);
    rig.advance(12 * 60000);
    return view;
}

// The preparation before a quick round, at its `step` (0 body, 1 breath,
// 2 mind).
QWidget *preparation(SnapshotRig &rig, const ViewContext &context, int step)
{
    QWidget *view = root(rig, context, RootTab::pomodoro);
    AppModel &model = rig.model();
    model.settings().setPrepares(true);
    rig.advance(AppModel::kPreparationGapSeconds * 1000 + 1000);
    model.engine().setTaskTitle(QStringLiteral("Draft the spring letter"));
    model.begin(Mode::quick);
    for (int i = 0; i < step; ++i)
        model.advancePreparation();
    onGone(view, [&model] {
        model.cancelPreparation();
        model.engine().setTaskTitle(QString());
        model.settings().setPrepares(false);
    });
    return view;
}

// The first child of `root` with this object name, or null.
template<typename W = QWidget>
W *child(QWidget *root, const QString &name)
{
    return root ? root->findChild<W *>(name) : nullptr;
}

// The first task row of the task list (the dated task of the samples).
TodoRow *firstRow(QWidget *shown)
{
    return shown->findChild<TodoRow *>(QStringLiteral("tasks.row"));
}

// A task row's panel, as a click on its name opens it.
Popover *openPanel(TodoRow *row)
{
    if (!row)
        return nullptr;
    click(row, QStringLiteral("tasks.row.name"));
    QCoreApplication::processEvents();
    return row->actionsPopover();
}

// A widget's context menu, as a right click at its left asks for it.
void contextMenu(QWidget *widget)
{
    if (!widget)
        return;
    const QPoint at(40, std::min(10, widget->height() / 2));
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

// The task list with every task gone (put back afterwards).
QWidget *withoutTasks(SnapshotRig &rig, const ViewContext &context, RootTab tab)
{
    QWidget *view = root(rig, context, tab);
    TaskHub &hub = rig.model().taskHub();
    struct Kept
    {
        QString title;
        std::optional<QDateTime> due;
    };
    QList<Kept> kept;
    for (const TodoItem &item : hub.items()) {
        kept.append({item.title, item.due});
        hub.deleteTask(item.ref);
    }
    onGone(view, [&hub, kept] {
        for (const Kept &k : kept)
            hub.add(k.title, k.due);
    });
    return view;
}

// One of the user's reminders among the tasks (gone again afterwards).
QWidget *withReminder(SnapshotRig &rig, const ViewContext &context)
{
    AppSettings &settings = rig.model().settings();
    settings.setExternalTaskMode(ExternalTaskMode::mirror);
    // The list and its reminder are made once; between pictures the
    // reminders are simply not read.
    if (rig.calendars().calendars(CollectionKind::Reminders).isEmpty()) {
        CalendarInfo list;
        list.id = QStringLiteral("/home/sam/.calendars/home");
        list.title = QStringLiteral("Home");
        list.kind = CollectionKind::Reminders;
        list.writable = true;
        rig.calendars().addCalendar(list);
        Reminder reminder;
        reminder.listId = list.id;
        reminder.title = QStringLiteral("Buy oat milk");
        reminder.due = rig.morning().addDays(1);
        rig.calendars().saveReminder(reminder);
    }
    TaskHub &hub = rig.model().taskHub();
    hub.reminders().setAuthorization(CalendarAccess::FullAccess);
    hub.refresh();
    QWidget *view = root(rig, context, RootTab::tasks);
    onGone(view, [&settings, &hub] {
        settings.setExternalTaskMode(ExternalTaskMode::off);
        hub.refresh();
    });
    return view;
}

// The reminder's row in the list shown.
TodoRow *reminderRow(QWidget *shown)
{
    for (TodoRow *row : shown->findChildren<TodoRow *>(QStringLiteral("tasks.row")))
        if (row->item().title == QStringLiteral("Buy oat milk"))
            return row;
    return nullptr;
}

// The task list on a sweep day (the 9th), inviting the sweep.
QWidget *onSweepDay(SnapshotRig &rig, const ViewContext &context, RootTab tab)
{
    rig.setNow(QDateTime(QDate(2025, 3, 9), QTime(9, 30)));
    rig.advance(0);
    QWidget *view = root(rig, context, tab);
    onGone(view, [&rig] {
        rig.setNow(rig.morning());
        rig.advance(0);
    });
    return view;
}

// More tasks done today than the archive shows at once (gone afterwards).
QWidget *manyDone(SnapshotRig &rig, const ViewContext &context)
{
    TaskHub &hub = rig.model().taskHub();
    QList<TaskRef> done;
    for (int i = 1; i <= 24; ++i)
        if (const std::optional<TodoItem> item = hub.add(QStringLiteral("Letter %1 to the guild").arg(i))) {
            hub.complete(item->ref);
            done << item->ref;
        }
    QWidget *view = root(rig, context, RootTab::tasks);
    onGone(view, [&hub, done] {
        for (const TaskRef &ref : done)
            hub.deleteTask(ref);
    });
    return view;
}

// The day page of the main window shown.
DayView *dayPage(QWidget *shown)
{
    return shown->findChild<DayView *>();
}

// The day page with a plan at 10:00 for a sample task, a hand-written deed
// at 8:00 and the other sample task placed on the day without a time (all
// gone afterwards).
QWidget *plannedDay(SnapshotRig &rig, const ViewContext &context)
{
    AppModel &model = rig.model();
    const QDateTime day = rig.morning();
    std::optional<LocalTask> letter, workshop;
    for (const LocalTask &task : model.taskHub().local().tasks()) {
        if (task.title == QStringLiteral("Draft the spring letter"))
            letter = task;
        if (task.title == QStringLiteral("Tidy the workshop"))
            workshop = task;
    }
    QList<QUuid> plans;
    if (letter) {
        DayPlan plan;
        plan.taskID = letter->id;
        plan.title = letter->title;
        plan.startMinutes = 10 * 60;
        plan.minutes = 45;
        model.placePlan(plan, day);
    }
    if (workshop)
        model.placeOnDay(*workshop, day);
    for (const DayPlan &plan : model.days().note(day).plans)
        plans << plan.id;
    const SessionRecord deed = model.writeDeed(QStringLiteral("Swept the yard"), 8 * 60, 30, day);
    QWidget *view = root(rig, context, RootTab::day);
    onGone(view, [&model, plans, deed, day] {
        for (const QUuid &id : plans)
            model.removePlan(id, day);
        model.removeDeed(deed.id);
    });
    return view;
}

// A press and release of the left button in the middle of `widget`.
void press(QWidget *widget)
{
    if (!widget)
        return;
    const QPointF at = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent down(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &up);
}

// The day page while the calendars have not been asked, or were refused.
QWidget *calendarAccess(SnapshotRig &rig, const ViewContext &context, CalendarAccess access)
{
    rig.calendars().setAuthorization(access);
    QWidget *view = root(rig, context, RootTab::day);
    onGone(view, [&rig] { rig.calendars().setAuthorization(CalendarAccess::FullAccess); });
    return view;
}

// The shelf's card of a practice, by its title.
DailyCard *practiceCard(QWidget *shown, const QString &title)
{
    DailyView *view = shown->findChild<DailyView *>();
    return view ? view->card(title) : nullptr;
}

using SweepStep = AppModel::SweepStep;

// The sweep on a sweep day (the 9th) at `step`, over the sample tasks (or
// over none); it ends afterwards without marking the day swept.
QWidget *sweeping(SnapshotRig &rig, const ViewContext &context, SweepStep step, bool targets)
{
    QWidget *view = onSweepDay(rig, context, RootTab::tasks);
    AppModel &model = rig.model();
    QList<LocalTask> quiet;
    if (targets)
        for (const LocalTask &task : model.taskHub().local().tasks())
            if (!task.isDaily && !task.completedAt && !task.abandonedAt && !task.deletedAt)
                quiet << task;
    model.setSweeping(AppModel::Sweeping{step, quiet});
    onGone(view, [&model] { model.setSweeping(std::nullopt); });
    return view;
}

// The settings window with sound switched off (switched on again after).
QWidget *settingsWith(SnapshotRig &rig, const ViewContext &context, const std::function<void(AppModel &)> &set,
                      const std::function<void(AppModel &)> &undo)
{
    AppModel &model = rig.model();
    set(model);
    QWidget *view = new SettingsView(context);
    onGone(view, [&model, undo] { undo(model); });
    return view;
}

// Sync across devices through Drive, with the sign-in's own client stored:
// the settings window's rows for it.
QWidget *devices(SnapshotRig &rig, const ViewContext &context)
{
    AppModel &model = rig.model();
    Keychain::set(QStringLiteral("client-1"), QStringLiteral("googleClientID"));
    Keychain::set(QStringLiteral("secret-1"), QStringLiteral("googleClientSecret"));
    model.settings().setSyncPlace(SyncPlace::drive);
    // The browser is not opened: the page it would show is kept instead.
    auto page = std::make_shared<QUrl>();
    model.googleAuth().setBrowserOpener([page](const QUrl &url) { *page = url; });
    QWidget *view = new SettingsView(context);
    view->setProperty("signInPage", QVariant::fromValue(static_cast<void *>(page.get())));
    onGone(view, [&model, page] {
        model.settings().setSyncPlace(SyncPlace::none);
        model.googleAuth().setBrowserOpener({});
    });
    return view;
}

// The settings form scrolled to its rows for other devices.
void showDevices(QWidget *shown)
{
    QCoreApplication::processEvents();
    auto *scroll = shown->findChild<QScrollArea *>(QStringLiteral("settings.scroll"));
    auto *devices = shown->findChild<QWidget *>(QStringLiteral("settings.devices"));
    if (scroll && devices)
        scroll->ensureWidgetVisible(devices, 0, 40);
}

// The browser comes back to the program's loopback address with the user's
// refusal; waits until the sign-in has heard it.
void refuseInBrowser(AppModel &model, const QUrl &signInPage)
{
    const QUrlQuery query(signInPage);
    const QUrl redirect(query.queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(redirect.port()));
    socket.write("GET /?error=access_denied&state=" + query.queryItemValue(QStringLiteral("state")).toUtf8() +
                 " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QElapsedTimer waited;
    waited.start();
    while (model.googleAuth().isConnecting() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

QWidget *intro(const ViewContext &context, int page)
{
    ViewContext c = context;
    c.introPage = page;
    return new IntroView(c, Intro::build());
}

// The tray icon in each state of a run, at the sizes trays ask for: one
// row per state, growing sizes from left to right.
class TrayIconSheet : public QWidget
{
public:
    static inline const QList<TrayIconPainter::State> states = {
        {},
        {TrayIconPainter::State::Mark::focus, 120, false},
        {TrayIconPainter::State::Mark::focus, 80, false},
        {TrayIconPainter::State::Mark::focus, 25, true},
        {TrayIconPainter::State::Mark::shortBreak, 60, false},
        {TrayIconPainter::State::Mark::longBreak, 100, false},
        {TrayIconPainter::State::Mark::done, 120, false},
    };
    static inline const QList<int> sides = {16, 22, 32, 64};

    TrayIconSheet() { resize(16 + (16 + 22 + 32 + 64) + 4 * 16, 16 + int(states.size()) * (64 + 12)); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Kiv::paper());
        double y = 16;
        for (const TrayIconPainter::State &state : states) {
            double x = 16;
            for (int side : sides) {
                p.save();
                p.translate(x, y + (64 - side) / 2.0);
                TrayIconPainter::draw(p, QSizeF(side, side), state);
                p.restore();
                x += side + 16;
            }
            y += 64 + 12;
        }
    }
};

// A picker's face for each kind of choice, one under another.
QWidget *ambienceFaces(SnapshotRig &rig, const ViewContext &context)
{
    AppSettings &settings = rig.model().settings();
    const QString scene = settings.ambienceScene();
    auto *sheet = new QWidget;
    auto *column = new QVBoxLayout(sheet);
    column->setContentsMargins(16, 12, 16, 12);
    column->setSpacing(10);
    for (const char *choice : {"silent", "rain", "insects", "custom"}) {
        settings.setAmbienceScene(QString::fromLatin1(choice));
        column->addWidget(new AmbiencePicker(context), 0, Qt::AlignLeft);
    }
    settings.setAmbienceScene(scene);
    return sheet;
}

// The picker's menu with a scene chosen and one sound of the user's own.
QWidget *ambienceMenu(SnapshotRig &rig)
{
    QFile sound(AmbienceLibrary::folderPath() + QStringLiteral("/Morning creek.wav"));
    if (!sound.exists() && sound.open(QIODevice::WriteOnly))
        sound.write("x");
    AppSettings &settings = rig.model().settings();
    const QString scene = settings.ambienceScene();
    settings.setAmbienceScene(QStringLiteral("stream"));
    auto *menu = new QMenu;
    MenuFill::fill(menu, AmbienceMenu::entries(rig.model()));
    settings.setAmbienceScene(scene);
    menu->resize(menu->sizeHint());
    return menu;
}

// The tray menu while a run is under way (running, paused or finished), or
// with none.
enum class TrayRun { none, running, paused, finished };
QWidget *trayMenu(SnapshotRig &rig, TrayRun run)
{
    PomodoroEngine &engine = rig.model().engine();
    if (run != TrayRun::none)
        engine.begin(Mode::hour, false, {});
    if (run == TrayRun::paused) {
        rig.advance(10 * 60000);
        engine.pause();
    }
    if (run == TrayRun::finished) {
        engine.finishPhase(false);
        engine.finishPhase(false);
    }
    auto *menu = new QMenu;
    MenuFill::fill(menu, MenuBarMenu::entries(rig.model(), ShellActions()));
    // The run goes without a record (the pictures after it show no round
    // of its making).
    engine.reset();
    engine.stop();
    menu->resize(menu->sizeHint());
    return menu;
}

} // namespace

bool Screen::inMainWindow() const
{
    return size == kMain;
}

namespace Screens {

QList<QSize> mainWindowSizes()
{
    return {RootView::kIdealSize, RootView::kMinimumSize};
}

const QList<Screen> &all()
{
    static const QList<Screen> screens = {
        {QStringLiteral("root-timer"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::pomodoro); }},
        {QStringLiteral("root-day"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::day); }},
        {QStringLiteral("root-tasks"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::tasks); }},
        {QStringLiteral("root-daily"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::daily); }},
        {QStringLiteral("root-running-incense"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return running(rig, c, FocusVisual::incense, false, 7 * 60000); }},
        {QStringLiteral("root-running-ring"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return running(rig, c, FocusVisual::ring, false, 16 * 60000); }},
        {QStringLiteral("root-running-walk"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return running(rig, c, FocusVisual::incense, true, 2 * 60000); }},
        {QStringLiteral("root-running-incense-paused"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return paused(rig, c, FocusVisual::incense, false, 7 * 60000); }},
        {QStringLiteral("root-running-ring-paused"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return paused(rig, c, FocusVisual::ring, false, 16 * 60000); }},
        {QStringLiteral("root-running-walk-paused"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return paused(rig, c, FocusVisual::incense, true, 2 * 60000); }},
        {QStringLiteral("root-running-open"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return countingUp(rig, c); }},
        {QStringLiteral("root-rounds-walk"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return roundsWalk(rig, c); }},
        {QStringLiteral("root-finished"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return finished(rig, c, false); }},
        {QStringLiteral("root-finished-rounds"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return finished(rig, c, true); }},
        {QStringLiteral("root-preparation-body"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return preparation(rig, c, 0); }},
        {QStringLiteral("root-preparation-breath"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return preparation(rig, c, 1); }},
        {QStringLiteral("root-preparation-mind"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return preparation(rig, c, 2); }},
        // The rounds picker as the rounds card opens it, a long title among
        // its tasks.
        {QStringLiteral("root-rounds-picker"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) {
             QWidget *view = root(rig, c, RootTab::pomodoro);
             TaskHub &hub = rig.model().taskHub();
             const std::optional<TodoItem> long_ = hub.add(
                 QStringLiteral("Write to the printer about the proofs of the autumn catalogue and the new paper"),
                 Clock::current().now().addDays(2));
             onGone(view, [&hub, long_] {
                 if (long_)
                     hub.deleteTask(long_->ref);
             });
             return view;
         },
         [](SnapshotRig &, QWidget *shown) { click(shown, QStringLiteral("timer.mode.rounds")); }},
        // The task picker as the title field's list button opens it.
        {QStringLiteral("root-task-picker"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::pomodoro); },
         [](SnapshotRig &, QWidget *shown) { click(shown, QStringLiteral("timer.titleField.list")); }},
        // The task list's states: a row's panel and what it opens, its
        // menu, a reminder's panel, the sweep day, no tasks at all, and the
        // archive of the tasks done today, paged.
        {QStringLiteral("root-tasks-panel"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::tasks); },
         [](SnapshotRig &, QWidget *shown) { openPanel(firstRow(shown)); }},
        {QStringLiteral("root-tasks-due"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::tasks); },
         [](SnapshotRig &, QWidget *shown) { click(openPanel(firstRow(shown)), QStringLiteral("tasks.due.calendar")); }},
        {QStringLiteral("root-tasks-note"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::tasks); },
         [](SnapshotRig &, QWidget *shown) { click(firstRow(shown), QStringLiteral("tasks.row.note")); }},
        {QStringLiteral("root-tasks-rename"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::tasks); },
         [](SnapshotRig &, QWidget *shown) {
             click(openPanel(firstRow(shown)), QStringLiteral("tasks.row.panel.rename"));
         }},
        {QStringLiteral("root-tasks-menu"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::tasks); },
         [](SnapshotRig &, QWidget *shown) { contextMenu(firstRow(shown)); }},
        {QStringLiteral("root-tasks-more"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::tasks); },
         [](SnapshotRig &, QWidget *shown) { click(openPanel(firstRow(shown)), QStringLiteral("tasks.row.panel.more")); }},
        {QStringLiteral("root-tasks-reminder"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return withReminder(rig, c); },
         [](SnapshotRig &, QWidget *shown) { openPanel(reminderRow(shown)); }},
        {QStringLiteral("root-tasks-sweep-day"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return onSweepDay(rig, c, RootTab::tasks); }},
        {QStringLiteral("root-tasks-empty"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return withoutTasks(rig, c, RootTab::tasks); }},
        {QStringLiteral("root-tasks-done-paged"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return manyDone(rig, c); },
         [](SnapshotRig &, QWidget *shown) { click(shown, QStringLiteral("tasks.archiveToday.header")); }},
        {QStringLiteral("root-task-picker-empty"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return withoutTasks(rig, c, RootTab::pomodoro); },
         [](SnapshotRig &, QWidget *shown) { click(shown, QStringLiteral("timer.titleField.list")); }},
        // The day page's states: another day (with "today"), the mind's
        // note, a plan's popover and its editor, a placed task without a
        // time, a hand-written deed's editor, a round that asks before it
        // goes, the picker of an opening (dated tasks, the fold, the
        // practices), and the calendars not yet read or refused.
        {QStringLiteral("root-day-tomorrow"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::day); },
         [](SnapshotRig &, QWidget *shown) { click(shown, QStringLiteral("day.next")); }},
        {QStringLiteral("root-day-mind-note"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::day); },
         [](SnapshotRig &, QWidget *shown) { click(shown, QStringLiteral("day.mind")); }},
        {QStringLiteral("root-day-plan"), kMain, [](SnapshotRig &rig, const ViewContext &c) { return plannedDay(rig, c); },
         [](SnapshotRig &, QWidget *shown) { press(child(shown, QStringLiteral("day.plan"))); }},
        {QStringLiteral("root-day-plan-editor"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return plannedDay(rig, c); },
         [](SnapshotRig &rig, QWidget *shown) {
             for (const DayPlan &plan : rig.model().days().note(rig.morning()).plans)
                 if (plan.timed && dayPage(shown)) {
                     dayPage(shown)->openPlanEditor(plan);
                     return;
                 }
         }},
        {QStringLiteral("root-day-untimed-editor"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return plannedDay(rig, c); },
         [](SnapshotRig &rig, QWidget *shown) {
             for (const DayPlan &plan : rig.model().days().note(rig.morning()).plans)
                 if (!plan.timed && dayPage(shown)) {
                     dayPage(shown)->openPlanEditor(plan);
                     return;
                 }
         }},
        {QStringLiteral("root-day-deed-editor"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return plannedDay(rig, c); },
         [](SnapshotRig &, QWidget *shown) {
             if (DayView *day = dayPage(shown))
                 for (const DayDeed &deed : day->deeds())
                     if (deed.editable) {
                         day->openDeedEditor(deed);
                         return;
                     }
         }},
        {QStringLiteral("root-day-remove-round"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) {
             // A round the timer recorded (to the second), which asks before
             // it goes.
             SessionRecord round;
             round.id = QUuid::createUuid();
             round.phase = Phase::focus;
             round.title = QStringLiteral("Tidy the workshop");
             round.start = QDateTime(rig.morning().date(), QTime(8, 30, 12));
             round.end = round.start.addSecs(25 * 60);
             round.completed = true;
             rig.model().store().append(round);
             QWidget *view = root(rig, c, RootTab::day);
             AppModel &model = rig.model();
             onGone(view, [&model, id = round.id] { model.removeDeed(id); });
             return view;
         },
         [](SnapshotRig &, QWidget *shown) {
             for (DeedItem *item : shown->findChildren<DeedItem *>(QStringLiteral("day.deed")))
                 if (item->deed().title == QStringLiteral("Tidy the workshop")) {
                     press(item);
                     return;
                 }
         }},
        {QStringLiteral("root-day-picker"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::day); },
         [](SnapshotRig &, QWidget *shown) {
             if (DayView *day = dayPage(shown); day && day->line() && day->line()->row(16))
                 click(day->line()->row(16), QStringLiteral("day.opening"));
         }},
        {QStringLiteral("root-day-calendars-unasked"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return calendarAccess(rig, c, CalendarAccess::NotDetermined); }},
        {QStringLiteral("root-day-calendars-refused"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return calendarAccess(rig, c, CalendarAccess::Denied); }},
        // The shelf's states: the composer of a new practice, a practice's
        // panel, its note and its "more" menu.
        {QStringLiteral("root-daily-composer"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::daily); },
         [](SnapshotRig &, QWidget *shown) { click(shown, QStringLiteral("daily.add")); }},
        {QStringLiteral("root-daily-panel"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::daily); },
         [](SnapshotRig &, QWidget *shown) {
             if (DailyCard *card = practiceCard(shown, QStringLiteral("朝の坐禅")))
                 card->openPanel();
         }},
        {QStringLiteral("root-daily-note"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::daily); },
         [](SnapshotRig &, QWidget *shown) {
             if (DailyCard *card = practiceCard(shown, QStringLiteral("朝の坐禅"))) {
                 card->openPanel();
                 click(card->panel(), QStringLiteral("daily.panel.note"));
             }
         }},
        {QStringLiteral("root-daily-more"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return root(rig, c, RootTab::daily); },
         [](SnapshotRig &, QWidget *shown) {
             if (DailyCard *card = practiceCard(shown, QStringLiteral("朝の坐禅"))) {
                 card->openPanel();
                 click(card->panel(), QStringLiteral("daily.panel.more"));
             }
         }},
        // The sweep: its opening over the day's quiet tasks or over none,
        // each of its steps (the title and the guidepost among them), and
        // the notice it leaves on the task list when it ends.
        {QStringLiteral("root-sweep-opening"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return sweeping(rig, c, SweepStep::opening(), true); }},
        {QStringLiteral("root-sweep-opening-none"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return sweeping(rig, c, SweepStep::opening(), false); }},
        {QStringLiteral("root-sweep-looking"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return sweeping(rig, c, SweepStep::looking(), true); }},
        {QStringLiteral("root-sweep-asking"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return sweeping(rig, c, SweepStep::asking(0), true); }},
        {QStringLiteral("root-sweep-tidying"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return sweeping(rig, c, SweepStep::tidying(), true); }},
        {QStringLiteral("root-sweep-resting"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return sweeping(rig, c, SweepStep::resting(), true); }},
        {QStringLiteral("root-sweep-standing"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) { return sweeping(rig, c, SweepStep::standing(), true); }},
        {QStringLiteral("root-sweep-finished"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) {
             QWidget *view = onSweepDay(rig, c, RootTab::tasks);
             rig.model().setNotice(L(QStringLiteral("払いました。下ろしたものは、作務の「放下したもの」にあります。")));
             return view;
         }},
        {QStringLiteral("root-meaning"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) {
             auto *view = static_cast<RootView *>(root(rig, c, RootTab::pomodoro));
             view->findChild<TabMeaning *>()->setOpen(true);
             return static_cast<QWidget *>(view);
         }},
        {QStringLiteral("root-notice-pinned"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) {
             QWidget *view = root(rig, c, RootTab::tasks);
             rig.model().settings().setAlwaysOnTop(true);
             rig.model().setNotice(Lang::isJapanese() ? QStringLiteral("作務を三つ、ほかの機械から受け取りました。")
                                                      : QStringLiteral("Three tasks came in from your other machine."));
             return view;
         }},
        {QStringLiteral("root-version"), kMain,
         [](SnapshotRig &rig, const ViewContext &c) {
             QWidget *view = root(rig, c, RootTab::day);
             NewVersion::Found found;
             found.version = QStringLiteral("1.4.2");
             found.url = QUrl(QStringLiteral("https://example.org/download"));
             found.note = Lang::isJapanese() ? QStringLiteral("鐘の音が、少しやわらかくなりました。")
                                             : QStringLiteral("The bell sounds a little softer now.");
             rig.model().setNewVersion(found);
             return view;
         }},
        {QStringLiteral("intro-0"), kMain, [](SnapshotRig &, const ViewContext &c) { return intro(c, 0); }},
        {QStringLiteral("intro-1"), kMain, [](SnapshotRig &, const ViewContext &c) { return intro(c, 1); }},
        {QStringLiteral("intro-2"), kMain, [](SnapshotRig &, const ViewContext &c) { return intro(c, 2); }},
        // The how-to sheet as the footer opens it, at its own (scaled) size.
        {QStringLiteral("howto"), QSize(),
         [](SnapshotRig &, const ViewContext &c) {
             auto *view = new HowToView(c, HowTo::build());
             view->setOpenSettings([] {});
             auto *sheet = new SheetDialog(view, QSizeF(460, 620), nullptr);
             // A still picture does not scroll: the sheet grows to show every line.
             const int whole = view->heightForWidth(sheet->width()) + sheet->closeButton()->sizeHint().height() + 8;
             sheet->resize(sheet->width(), std::max(sheet->height(), whole));
             return static_cast<QWidget *>(sheet);
         }},
        {QStringLiteral("settings"), QSize(SettingsView::kWidth, SettingsView::kHeight),
         [](SnapshotRig &, const ViewContext &c) { return static_cast<QWidget *>(new SettingsView(c)); }},
        {QStringLiteral("settings-sound-off"), QSize(SettingsView::kWidth, SettingsView::kHeight),
         [](SnapshotRig &rig, const ViewContext &c) {
             return settingsWith(
                 rig, c, [](AppModel &m) { m.settings().setSoundEnabled(false); },
                 [](AppModel &m) { m.settings().setSoundEnabled(true); });
         }},
        // The calendars and the reminders not yet asked for (their buttons
        // ask), refused, connected.
        {QStringLiteral("settings-reminders-unasked"), QSize(SettingsView::kWidth, SettingsView::kHeight),
         [](SnapshotRig &rig, const ViewContext &c) {
             FakeCalendarStore &calendars = rig.calendars();
             return settingsWith(
                 rig, c,
                 [&calendars](AppModel &m) {
                     calendars.setAuthorization(CalendarAccess::NotDetermined);
                     m.calendarService().refreshAuthorization();
                     m.taskHub().reminders().setAuthorization(CalendarAccess::NotDetermined);
                 },
                 [&calendars](AppModel &m) {
                     calendars.setAuthorization(CalendarAccess::FullAccess);
                     m.calendarService().refreshAuthorization();
                 });
         }},
        {QStringLiteral("settings-reminders-refused"), QSize(SettingsView::kWidth, SettingsView::kHeight),
         [](SnapshotRig &rig, const ViewContext &c) {
             return settingsWith(
                 rig, c, [](AppModel &m) { m.taskHub().reminders().setAuthorization(CalendarAccess::Denied); },
                 [](AppModel &m) { m.taskHub().reminders().setAuthorization(CalendarAccess::NotDetermined); });
         }},
        {QStringLiteral("settings-reminders-connected"), QSize(SettingsView::kWidth, SettingsView::kHeight),
         [](SnapshotRig &rig, const ViewContext &c) {
             return settingsWith(
                 rig, c, [](AppModel &m) { m.taskHub().reminders().setAuthorization(CalendarAccess::FullAccess); },
                 [](AppModel &m) { m.taskHub().reminders().setAuthorization(CalendarAccess::NotDetermined); });
         }},
        // Connecting to Google: waiting for the browser, then refused in it.
        {QStringLiteral("settings-devices-waiting"), QSize(SettingsView::kWidth, SettingsView::kHeight),
         [](SnapshotRig &rig, const ViewContext &c) { return devices(rig, c); },
         [](SnapshotRig &rig, QWidget *shown) {
             if (!rig.model().googleAuth().isConnecting())
                 click(shown, QStringLiteral("settings.devices.connect"));
             showDevices(shown);
         }},
        {QStringLiteral("settings-devices-failed"), QSize(SettingsView::kWidth, SettingsView::kHeight),
         [](SnapshotRig &rig, const ViewContext &c) { return devices(rig, c); },
         [](SnapshotRig &rig, QWidget *shown) {
             auto *page = static_cast<QUrl *>(shown->property("signInPage").value<void *>());
             if (!rig.model().googleAuth().isConnecting())
                 click(shown, QStringLiteral("settings.devices.connect"));
             if (page && page->isValid())
                 refuseInBrowser(rig.model(), *page);
             showDevices(shown);
         }},
        {QStringLiteral("history-menu"), QuillmereApp::kHistorySize,
         [](SnapshotRig &, const ViewContext &c) {
             return static_cast<QWidget *>(
                 new PaperWindow(QStringLiteral("history"), L("記録"), Pages::history(c, nullptr),
                                 PaperWindow::Paper::ownedByPage));
         },
         [](SnapshotRig &, QWidget *shown) {
             // The first row that is a round (a day's heading opens no menu).
             auto *list = shown->findChild<QAbstractItemView *>(QStringLiteral("history.list"));
             for (int row = 0; list && list->model() && row < list->model()->rowCount(); ++row) {
                 const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
                 QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
                 QApplication::sendEvent(list->viewport(), &event);
                 if (list->findChild<QMenu *>(QStringLiteral("history.rowMenu")))
                     return;
             }
         }},
        {QStringLiteral("history"), QuillmereApp::kHistorySize,
         [](SnapshotRig &, const ViewContext &c) {
             return static_cast<QWidget *>(
                 new PaperWindow(QStringLiteral("history"), L("記録"), Pages::history(c, nullptr),
                                 PaperWindow::Paper::ownedByPage));
         }},
        {QStringLiteral("glossary"), QuillmereApp::kGlossarySize,
         [](SnapshotRig &, const ViewContext &c) {
             ViewContext page = c;
             page.model = nullptr;
             return static_cast<QWidget *>(
                 new PaperWindow(QStringLiteral("glossary"), L("言葉のしおり"), Pages::glossary(page, nullptr)));
         }},
        {QStringLiteral("ambience-picker"), QSize(),
         [](SnapshotRig &rig, const ViewContext &c) { return ambienceFaces(rig, c); }},
        {QStringLiteral("ambience-menu"), QSize(), [](SnapshotRig &rig, const ViewContext &) { return ambienceMenu(rig); }},
        {QStringLiteral("tray-icon"), QSize(),
         [](SnapshotRig &, const ViewContext &) { return static_cast<QWidget *>(new TrayIconSheet); }},
        {QStringLiteral("tray-menu-run"), QSize(),
         [](SnapshotRig &rig, const ViewContext &) { return trayMenu(rig, TrayRun::running); }},
        {QStringLiteral("tray-menu-paused"), QSize(),
         [](SnapshotRig &rig, const ViewContext &) { return trayMenu(rig, TrayRun::paused); }},
        {QStringLiteral("tray-menu-finished"), QSize(),
         [](SnapshotRig &rig, const ViewContext &) { return trayMenu(rig, TrayRun::finished); }},
        {QStringLiteral("tray-menu-idle"), QSize(),
         [](SnapshotRig &rig, const ViewContext &) { return trayMenu(rig, TrayRun::none); }},
        {QStringLiteral("controls"), QSize(),
         [](SnapshotRig &, const ViewContext &) { return static_cast<QWidget *>(new ControlsSheet); }},
    };
    return screens;
}

} // namespace Screens
