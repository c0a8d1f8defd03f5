#include "Screens.h"

#include "ControlsSheet.h"
#include "SnapshotRig.h"
#include "app/AmbienceMenu.h"
#include "app/AmbiencePicker.h"
#include "app/FooterBar.h"
#include "app/MenuBarMenu.h"
#include "app/MenuFill.h"
#include "app/TrayIconPainter.h"
#include "app/Pages.h"
#include "app/PaperWindow.h"
#include "app/QuillmereApp.h"
#include "app/RootView.h"
#include "app/RootWorkspace.h"
#include "app/SheetDialog.h"
#include "views/ink/InkButton.h"
#include "app/TabMeaning.h"
#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "views/reading/HowToView.h"
#include "views/reading/IntroView.h"
#include "views/settings/SettingsView.h"
#include "core/PomodoroEngine.h"
#include "platform/time/Clock.h"
#include "sound/AmbienceLibrary.h"

#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

namespace {

const QSize kMain = RootView::kIdealSize;

// The main window as it opens on a tab, with nothing floating over it.
QWidget *root(SnapshotRig &rig, const ViewContext &context, RootTab tab)
{
    AppModel &model = rig.model();
    // A run left by the picture before goes without a record.
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

// The tray menu while a run is under way, or with none.
QWidget *trayMenu(SnapshotRig &rig, bool running)
{
    PomodoroEngine &engine = rig.model().engine();
    if (running)
        engine.begin(Mode::hour, false, {});
    auto *menu = new QMenu;
    MenuFill::fill(menu, MenuBarMenu::entries(rig.model(), ShellActions()));
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
        {QStringLiteral("tray-menu-run"), QSize(), [](SnapshotRig &rig, const ViewContext &) { return trayMenu(rig, true); }},
        {QStringLiteral("tray-menu-idle"), QSize(),
         [](SnapshotRig &rig, const ViewContext &) { return trayMenu(rig, false); }},
        {QStringLiteral("controls"), QSize(),
         [](SnapshotRig &, const ViewContext &) { return static_cast<QWidget *>(new ControlsSheet); }},
    };
    return screens;
}

} // namespace Screens
