// The main window's root view over a headless model: the intro gate, the
// page for each state, the tabs by pointer and keyboard with their mark,
// the gloss under them, the pin and the window's level, the footer's
// buttons, the notice and the version news, and the rebuild on a new text
// scale.
#include "app/FooterBar.h"
#include "app/NoticePill.h"
#include "app/PinButton.h"
#include "app/QuillmereApp.h"
#include "app/RootPage.h"
#include "app/RootView.h"
#include "app/RootWorkspace.h"
#include "app/SheetDialog.h"
#include "app/TabMeaning.h"
#include "app/TopTabs.h"
#include "app/PaperWindow.h"
#include "app/WindowPlacement.h"
#include "core/AppSettings.h"
#include "core/PomodoroEngine.h"
#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "stores/SessionStore.h"
#include "support/FakeHttpServer.h"
#include "views/ManualMotion.h"
#include "views/ViewTest.h"
#include "views/ink/Crossfade.h"
#include "views/ink/InkButton.h"
#include "views/ink/Reveal.h"
#include "views/ink/ElidedLabel.h"
#include "views/reading/IntroView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

using ModelRigs::at;

struct RootViewTest : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>();
    FakeDesktop desk;
    AppModel *model = nullptr;
    std::unique_ptr<RootView> view;
    QStringList opened; // windows asked for, in order; "settings" for the settings

    void TearDown() override
    {
        view.reset();
        rig.reset();
        ViewTest::TearDown();
    }

    RootView &build(bool seenIntro = true, bool snapshot = false)
    {
        if (!model) {
            rig->settings.setHasSeenIntro(seenIntro);
            model = &rig->build();
        }
        ViewContext context;
        context.model = model;
        context.desktop = &desk;
        context.snapshot = snapshot;
        WindowActions actions;
        actions.openWindow = [this](const QString &id) { opened << id; };
        actions.openSettings = [this] { opened << QStringLiteral("settings"); };
        view = std::make_unique<RootView>(context, actions);
        view->resize(RootView::kIdealSize);
        view->show();
        settle();
        return *view;
    }
    // The whole program's windows over the rig's model, past the introduction.
    std::unique_ptr<QuillmereApp> makeApp()
    {
        rig->settings.setHasSeenIntro(true);
        model = &rig->build();
        ViewContext context;
        context.model = model;
        context.desktop = &desk;
        return std::make_unique<QuillmereApp>(context);
    }
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    template<class T = QWidget>
    T *find(const QString &name) const
    {
        return view->findChild<T *>(name);
    }
    bool shows(const QString &name) const
    {
        QWidget *w = find(name);
        return w && w->isVisibleTo(view.get());
    }
    void click(const QString &name)
    {
        settle();
        auto *button = find<QAbstractButton>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        ASSERT_TRUE(button->isVisibleTo(view.get())) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        settle();
    }
    // The object name of the page on show.
    QString page() const
    {
        // The page shown, named by its place (the real screens carry names of their own).
        return view->workspace() && view->workspace()->page() ? RootPage::objectName(view->workspace()->pageKind())
                                                              : QString();
    }
};

TEST_F(RootViewTest, TheIntroductionStandsAloneUntilItIsSeen)
{
    build(false);
    ASSERT_NE(view->intro(), nullptr);
    EXPECT_EQ(view->workspace(), nullptr);
    EXPECT_EQ(find(QStringLiteral("root.tabs")), nullptr);

    // Skipping it stores the flag and brings the working interface.
    click(QStringLiteral("intro.skip"));
    EXPECT_TRUE(rig->settings.hasSeenIntro());
    EXPECT_EQ(view->intro(), nullptr);
    ASSERT_NE(view->workspace(), nullptr);
    EXPECT_TRUE(shows(QStringLiteral("root.tabs")));

    // The settings' "once more" brings it back at once.
    rig->settings.setHasSeenIntro(false);
    settle();
    EXPECT_NE(view->intro(), nullptr);
    EXPECT_EQ(view->workspace(), nullptr);
}

TEST_F(RootViewTest, StillPicturesShowTheWorkingInterfaceAndAskNoFeed)
{
    FakeHttpServer server;
    server.answer("GET", QStringLiteral("/latest.json"), 200, R"({"version":"9.0","url":"https://example.org"})");
    rig->updateFeed.updateHost = server.url();
    build(false, true);
    EXPECT_EQ(view->intro(), nullptr);
    ASSERT_NE(view->workspace(), nullptr);
    QTest::qWait(50);
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_FALSE(model->newVersion());
}

TEST_F(RootViewTest, TheWorkingInterfaceAsksTheFeedOnceAndShowsTheNews)
{
    FakeHttpServer server;
    server.answer("GET", QStringLiteral("/latest.json"), 200,
                  R"({"version":"9.0","url":"https://example.org/get","note":"Softer bells"})");
    rig->updateFeed.updateHost = server.url();
    build();
    ASSERT_TRUE(spinUntil([&] { return model->newVersion().has_value(); }));
    settle();
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(shows(QStringLiteral("root.version")));
    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("root.version.title"))->text(), L("新しい版があります（{0}）", "9.0"));
    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("root.version.note"))->text(), QStringLiteral("Softer bells"));

    click(QStringLiteral("root.version.get"));
    EXPECT_EQ(desk.openedUrls(), (QList<QUrl>{QUrl(QStringLiteral("https://example.org/get"))}));
    click(QStringLiteral("root.version.close"));
    EXPECT_FALSE(model->newVersion());
    EXPECT_FALSE(shows(QStringLiteral("root.version")));
}

TEST_F(RootViewTest, NewsWithAnAddressOtherThanTheWebOffersNoLink)
{
    build();
    model->setNewVersion(NewVersion::Found{QStringLiteral("2.0"), QUrl(QStringLiteral("file:///etc/passwd")),
                                           std::nullopt});
    settle();
    EXPECT_TRUE(shows(QStringLiteral("root.version")));
    EXPECT_FALSE(shows(QStringLiteral("root.version.get")));
    EXPECT_FALSE(shows(QStringLiteral("root.version.note")));
    EXPECT_TRUE(desk.openedUrls().isEmpty());
}

TEST_F(RootViewTest, EachStateShowsItsPage)
{
    build();
    EXPECT_EQ(page(), QStringLiteral("page.modeSelection"));

    // A preparation on the timer tab, then the running round.
    rig->settings.setPrepares(true);
    model->begin(Mode::quick);
    settle();
    ASSERT_TRUE(model->preparing());
    EXPECT_EQ(page(), QStringLiteral("page.preparation"));
    // Another tab keeps its page while the preparation goes on.
    click(TopTabs::labelName(RootTab::day));
    EXPECT_EQ(page(), QStringLiteral("page.day"));
    click(TopTabs::labelName(RootTab::pomodoro));
    EXPECT_EQ(page(), QStringLiteral("page.preparation"));
    model->skipPreparation();
    settle();
    ASSERT_TRUE(rig->engine().mode());
    EXPECT_EQ(page(), QStringLiteral("page.timer"));

    click(TopTabs::labelName(RootTab::tasks));
    EXPECT_EQ(page(), QStringLiteral("page.tasks"));
    model->setSweeping(AppModel::Sweeping{AppModel::SweepStep::opening(), {}});
    settle();
    EXPECT_EQ(page(), QStringLiteral("page.sweep"));
    click(TopTabs::labelName(RootTab::daily));
    EXPECT_EQ(page(), QStringLiteral("page.daily"));
}

TEST_F(RootViewTest, TabsFollowThePointerAndTheKeyboard)
{
    build();
    auto *tabs = find<TopTabs>(QStringLiteral("root.tabs"));
    ASSERT_NE(tabs, nullptr);
    click(TopTabs::labelName(RootTab::day));
    EXPECT_EQ(model->tab(), RootTab::day);
    EXPECT_EQ(tabs->selection(), RootTab::day);
    // Clicking the selected tab changes nothing.
    QWidget *before = view->workspace()->page();
    click(TopTabs::labelName(RootTab::day));
    EXPECT_EQ(model->tab(), RootTab::day);
    EXPECT_EQ(view->workspace()->page(), before);

    // Tab moves to the next tab label, Space chooses it.
    auto *day = find<QAbstractButton>(TopTabs::labelName(RootTab::day));
    view->activateWindow();
    day->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), find(TopTabs::labelName(RootTab::tasks)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    settle();
    EXPECT_EQ(model->tab(), RootTab::tasks);
    EXPECT_EQ(page(), QStringLiteral("page.tasks"));

    // A change of the model's tab from elsewhere (a menu) moves the row.
    model->setTab(RootTab::daily);
    settle();
    EXPECT_EQ(tabs->selection(), RootTab::daily);
}

TEST_F(RootViewTest, TheTaskTabIsMarkedOnAnUnsweptSweepDay)
{
    rig->clock.setNow(at(9, 9)); // the 9th: a sweep day
    rig->settings.setHasSeenIntro(true);
    model = &rig->build();
    rig->addTask(QStringLiteral("Mend the gate"));
    build();
    auto *tabs = find<TopTabs>(QStringLiteral("root.tabs"));
    ASSERT_TRUE(model->needsSweep());
    EXPECT_EQ(tabs->marked(), std::optional(RootTab::tasks));
    EXPECT_EQ(find(TopTabs::labelName(RootTab::tasks))->toolTip(), L("今日は四九日（しくにち）。作務を払う日です。"));
    EXPECT_EQ(find(TopTabs::labelName(RootTab::day))->toolTip(), L(hintKey(RootTab::day)));
}

TEST_F(RootViewTest, TheGlossFoldsOpenClosesOnANewTabAndLeadsToTheGlossary)
{
    build();
    auto *meaning = find<TabMeaning>(QStringLiteral("root.meaning"));
    ASSERT_NE(meaning, nullptr);
    EXPECT_EQ(find(QStringLiteral("root.meaning.hint"))->accessibleName(), L("{0}の意味", L("只管")));
    EXPECT_FALSE(shows(QStringLiteral("root.meaning.fold")));
    click(QStringLiteral("root.meaning.hint"));
    EXPECT_TRUE(shows(QStringLiteral("root.meaning.fold")));
    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("root.meaning.text"))->text(), *TabMeaning::meaning(RootTab::pomodoro, false));

    click(TopTabs::labelName(RootTab::day));
    EXPECT_FALSE(meaning->isOpen());
    EXPECT_FALSE(shows(QStringLiteral("root.meaning.fold")));

    click(QStringLiteral("root.meaning.hint"));
    click(QStringLiteral("root.meaning.more"));
    EXPECT_FALSE(meaning->isOpen());
    SheetDialog *sheet = view->workspace()->glossarySheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_NE(sheet->findChild<QWidget *>(QStringLiteral("glossary")), nullptr);
    // Any screen asking again brings the same sheet forward.
    model->setGlossaryRequest(model->glossaryRequest() + 1);
    settle();
    EXPECT_EQ(view->workspace()->glossarySheet(), sheet);
    QTest::mouseClick(sheet->closeButton(), Qt::LeftButton, {}, sheet->closeButton()->rect().center());
    settle();
    EXPECT_EQ(view->workspace()->glossarySheet(), nullptr);
}

TEST_F(RootViewTest, ThePinFlipsThePreferenceAndTheWindowsLevel)
{
    build();
    auto *pin = find<PinButton>(QStringLiteral("root.pin"));
    ASSERT_NE(pin, nullptr);
    EXPECT_EQ(pin->accessibleName(), L("手前に留める"));
    EXPECT_EQ(pin->toolTip(), L("常に最前面に表示"));
    EXPECT_EQ(pin->tilt(), 30);

    // A press in the square's corner, outside the disc, does nothing.
    QTest::mouseClick(pin, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_FALSE(rig->settings.alwaysOnTop());

    click(QStringLiteral("root.pin"));
    EXPECT_TRUE(rig->settings.alwaysOnTop());
    EXPECT_TRUE(view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(pin->accessibleName(), L("手前に留めるのをやめる"));
    EXPECT_EQ(pin->toolTip(), L("最前面の固定を外す"));
    EXPECT_EQ(pin->tilt(), 0);

    // The menu command's way: the preference alone.
    rig->settings.setAlwaysOnTop(false);
    settle();
    EXPECT_FALSE(view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(pin->isPinned());

    // With motion, the pin leans over 0.15 s while its old colours fade
    // into the new ones, and then nothing moves.
    ManualMotion motion;
    rig->settings.setAlwaysOnTop(true);
    EXPECT_TRUE(pin->crossfade()->isRunning());
    ManualMotion::advance(64);
    EXPECT_GT(pin->tilt(), 0);
    EXPECT_LT(pin->tilt(), 30);
    EXPECT_TRUE(ManualMotion::lastsFor(150 - 64));
    EXPECT_EQ(pin->tilt(), 0);
    EXPECT_FALSE(pin->crossfade()->isRunning());
}

// The gloss's fold opens and closes over 0.18 s, growing from nothing and
// pushing the page down; a new tab dissolves the old gloss into the new
// one and closes the fold over 0.2 s; the tab row's colours move over
// 0.22 s. Each motion then stops, and nothing moves after it.
TEST_F(RootViewTest, TheGlossAndTheTabsMoveForTheirTimeAndThenStop)
{
    build();
    // The keyboard away from the round's title field first (its underline
    // fades as it loses it).
    find(QStringLiteral("root.meaning.hint"))->setFocus();
    settle();
    ManualMotion motion;
    auto *meaning = find<TabMeaning>(QStringLiteral("root.meaning"));
    Reveal *fold = meaning->foldBox();
    const int closedBottom = meaning->geometry().bottom();

    click(QStringLiteral("root.meaning.hint"));
    ManualMotion::advance(90);
    settle();
    const int natural = fold->naturalHeight(fold->width());
    EXPECT_GT(fold->height(), 0);
    EXPECT_LT(fold->height(), natural);
    EXPECT_GT(fold->opacity(), 0);
    EXPECT_LT(fold->opacity(), 1);
    EXPECT_TRUE(ManualMotion::lastsFor(180 - 90));
    settle();
    EXPECT_EQ(fold->height(), natural);
    EXPECT_GT(meaning->geometry().bottom(), closedBottom) << "the page below moved down";

    click(QStringLiteral("root.meaning.hint"));
    EXPECT_TRUE(ManualMotion::lastsFor(180)) << "closing";
    settle();
    EXPECT_FALSE(shows(QStringLiteral("root.meaning.fold")));

    click(QStringLiteral("root.meaning.hint"));
    ManualMotion::advance(500);
    click(TopTabs::labelName(RootTab::day));
    EXPECT_TRUE(meaning->crossfade()->isRunning()) << "the old gloss over the new";
    EXPECT_TRUE(fold->isMoving());
    ManualMotion::advance(200 - 16);
    EXPECT_TRUE(meaning->crossfade()->isRunning());
    EXPECT_TRUE(fold->isMoving());
    ManualMotion::advance(32);
    EXPECT_FALSE(meaning->crossfade()->isRunning());
    EXPECT_FALSE(fold->isMoving());
    EXPECT_TRUE(ManualMotion::lastsFor(220 - 216)) << "the tab row's colours";
    settle();
    EXPECT_FALSE(shows(QStringLiteral("root.meaning.fold")));
}

// The line of today's mind fades out over 0.25 s when a run is set up on
// the timer tab, and back in on another tab.
TEST_F(RootViewTest, TodaysMindFadesOutAndInOverAQuarterOfASecond)
{
    build();
    auto *footer = find<FooterBar>(QStringLiteral("root.footer"));
    ManualMotion motion;
    model->engine().begin(Mode::quick);
    settle();
    ManualMotion::advance(125);
    EXPECT_GT(footer->sanshinOpacity(), 0);
    EXPECT_LT(footer->sanshinOpacity(), 1);
    EXPECT_TRUE(shows(QStringLiteral("footer.sanshin"))) << "still there while it fades";
    ManualMotion::advance(125 + 16);
    settle();
    EXPECT_FALSE(shows(QStringLiteral("footer.sanshin")));
    ManualMotion::advance(2000); // whatever else the run set going

    click(TopTabs::labelName(RootTab::day));
    EXPECT_TRUE(shows(QStringLiteral("footer.sanshin")));
    EXPECT_LT(footer->sanshinOpacity(), 0.2);
    ManualMotion::advance(250 - 32);
    EXPECT_LT(footer->sanshinOpacity(), 1);
    ManualMotion::advance(48);
    EXPECT_EQ(footer->sanshinOpacity(), 1);
}

TEST_F(RootViewTest, APinnedWindowFloatsFromTheStart)
{
    rig->settings.setAlwaysOnTop(true);
    build();
    settle();
    EXPECT_TRUE(view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(RootViewTest, TheFootersButtonsAndTodaysMind)
{
    build();
    EXPECT_TRUE(shows(QStringLiteral("footer.sanshin")));
    struct Button
    {
        const char *name;
        QString label;
        QString opens;
    } buttons[] = {
        {"footer.glossary", L("言葉のしおり"), QStringLiteral("glossary")},
        {"footer.history", L("記録"), QStringLiteral("history")},
        {"footer.settings", L("設定"), QStringLiteral("settings")},
    };
    for (const Button &b : buttons) {
        opened.clear();
        const QString name = QString::fromUtf8(b.name);
        EXPECT_EQ(find(name)->accessibleName(), b.label);
        EXPECT_EQ(find(name)->toolTip(), b.label);
        click(name);
        EXPECT_EQ(opened, QStringList{b.opens}) << b.name;
    }

    // The how-to sheet: once, however often asked; its calendar hint closes
    // it and opens the settings.
    EXPECT_EQ(find(QStringLiteral("footer.howTo"))->accessibleName(), L("使い方"));
    click(QStringLiteral("footer.howTo"));
    FooterBar *footer = view->workspace()->footer();
    SheetDialog *sheet = footer->howToSheet();
    ASSERT_NE(sheet, nullptr);
    click(QStringLiteral("footer.howTo"));
    EXPECT_EQ(footer->howToSheet(), sheet);
    opened.clear();
    footer->closeHowTo();
    settle();
    EXPECT_EQ(footer->howToSheet(), nullptr);

    // The line of today's mind hides on the timer tab while a run is set up.
    model->engine().begin(Mode::quick);
    settle();
    EXPECT_FALSE(shows(QStringLiteral("footer.sanshin")));
    click(TopTabs::labelName(RootTab::day));
    EXPECT_TRUE(shows(QStringLiteral("footer.sanshin")));
}

TEST_F(RootViewTest, TheNoticeShowsAndClearsItself)
{
    build();
    EXPECT_FALSE(shows(QStringLiteral("root.notice")));
    model->showNotice(QStringLiteral("Saved."));
    settle();
    ASSERT_TRUE(shows(QStringLiteral("root.notice")));
    QWidget *pill = find(QStringLiteral("root.notice"));
    EXPECT_EQ(pill->accessibleName(), QStringLiteral("Saved."));
    // It floats over the bottom of the window and lets clicks through.
    EXPECT_EQ(pill->geometry().bottom() + 1, view->height() - 44);
    EXPECT_TRUE(pill->testAttribute(Qt::WA_TransparentForMouseEvents));
    rig->clock.advance(AppModel::kNoticeMs + 10);
    settle();
    EXPECT_FALSE(shows(QStringLiteral("root.notice")));
}

// A history that did not read at start: its line waits behind the
// introduction, shows once the working interface comes, outlasts passing
// notices, and goes only with its cross.
TEST_F(RootViewTest, AFileKeptAsideIsToldAfterTheIntroductionUntilDismissed)
{
    QTemporaryDir other;
    {
        QFile broken(other.path() + QStringLiteral("/sessions.json"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("[{\"id\": ");
    }
    SessionStore history(other.path());
    rig->sessionsOverride = &history;
    build(false);
    ASSERT_NE(view->intro(), nullptr);
    EXPECT_FALSE(shows(QStringLiteral("root.notice")));
    rig->clock.advance(60 * 1000); // however long the introduction is read

    click(QStringLiteral("intro.skip"));
    ASSERT_TRUE(shows(QStringLiteral("root.notice")));
    auto *pill = find<NoticePill>(QStringLiteral("root.notice"));
    EXPECT_TRUE(pill->text().startsWith(QStringLiteral("sessions.json を読めませんでした。"))) << pill->text().toStdString();
    EXPECT_FALSE(pill->testAttribute(Qt::WA_TransparentForMouseEvents));
    auto *close = find<QAbstractButton>(QStringLiteral("root.notice.close"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->accessibleName(), QStringLiteral("この知らせを閉じる"));
    EXPECT_NE(close->focusPolicy() & Qt::TabFocus, 0) << "reachable by keyboard";
    // The whole pill is inside the window, above its bottom.
    EXPECT_TRUE(view->rect().contains(pill->geometry()));

    rig->clock.advance(AppModel::kNoticeMs * 3);
    settle();
    EXPECT_TRUE(shows(QStringLiteral("root.notice"))) << "time does not clear it";
    model->showNotice(QStringLiteral("Saved."));
    settle();
    EXPECT_EQ(pill->text(), QStringLiteral("Saved."));
    EXPECT_FALSE(shows(QStringLiteral("root.notice.close")));
    rig->clock.advance(AppModel::kNoticeMs + 10);
    settle();
    EXPECT_TRUE(pill->text().startsWith(QStringLiteral("sessions.json"))) << "back after the passing notice";

    click(QStringLiteral("root.notice.close"));
    EXPECT_FALSE(shows(QStringLiteral("root.notice")));
    EXPECT_TRUE(model->keptAside().isEmpty());
    // The model holds on to the history: it goes first.
    view.reset();
    rig.reset();
}

TEST_F(RootViewTest, ANewTextScaleRebuildsTheWorkingInterface)
{
    build();
    click(TopTabs::labelName(RootTab::day));
    click(QStringLiteral("root.meaning.hint"));
    QPointer<RootWorkspace> old = view->workspace();
    const int oldTabsHeight = find(QStringLiteral("root.tabs"))->sizeHint().height();
    rig->settings.setTextScale(1.6);
    settle();
    EXPECT_TRUE(old.isNull());
    ASSERT_NE(view->workspace(), nullptr);
    // The model's state stays; the view's own state starts afresh.
    EXPECT_EQ(page(), QStringLiteral("page.day"));
    EXPECT_FALSE(find<TabMeaning>(QStringLiteral("root.meaning"))->isOpen());
    EXPECT_GT(find(QStringLiteral("root.tabs"))->sizeHint().height(), oldTabsHeight);
    rig->settings.setTextScale(1.0);
}

// At the largest text scale the window still opens at its usual width: no
// page asks for more (a long line is cut short instead).
TEST_F(RootViewTest, AtTheLargestTextScaleNoPageWidensTheWindow)
{
    Kiv::setScale(1.6);
    rig->settings.setTextScale(1.6);
    build();
    for (RootTab tab : allRootTabs()) {
        click(TopTabs::labelName(tab));
        SCOPED_TRACE(page().toStdString());
        EXPECT_LE(view->minimumSizeHint().width(), RootView::kIdealSize.width());
    }
    rig->settings.setTextScale(1.0);
}

// The history, the glossary and the settings open at the main window's side
// (or on it) and on its screen, not wherever the window system puts them.
TEST_F(RootViewTest, TheOtherWindowsOpenBesideTheMainWindow)
{
    const auto owned = makeApp();
    QuillmereApp &app = *owned;
    app.openWindow(QStringLiteral("timer"));
    PaperWindow *main = app.mainWindow();
    const QRect screen = main->screen()->availableGeometry();
    main->move(screen.topLeft());
    settle();
    app.openWindow(QStringLiteral("history"));
    app.openSettings();
    app.openWindow(QStringLiteral("glossary"));
    settle();
    for (const QString &id : {QStringLiteral("history"), QStringLiteral("settings"), QStringLiteral("glossary")}) {
        SCOPED_TRACE(id.toStdString());
        const PaperWindow *window = app.window(id);
        ASSERT_NE(window, nullptr);
        const QRect frame = window->frameGeometry();
        EXPECT_EQ(frame.topLeft(),
                  WindowPlacement::beside(main->frameGeometry(), frame.size(), screen));
        EXPECT_TRUE(screen.contains(frame.topLeft()));
    }
}

// The program's windows: each one once, brought forward when asked again.
TEST_F(RootViewTest, EachWindowExistsOnce)
{
    const auto owned = makeApp();
    QuillmereApp &app = *owned;
    app.openWindow(QStringLiteral("timer"));
    PaperWindow *main = app.mainWindow();
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Quillmere"));
    EXPECT_TRUE(main->isVisible());
    EXPECT_GE(main->minimumSize().width(), 340);
    EXPECT_GE(main->minimumSize().height(), 520);

    for (const QString &id : {QStringLiteral("history"), QStringLiteral("glossary")}) {
        EXPECT_EQ(app.window(id), nullptr);
        app.openWindow(id);
        PaperWindow *first = app.window(id);
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(first->isVisible());
        first->close();
        app.openWindow(id);
        EXPECT_EQ(app.window(id), first) << id.toStdString();
        EXPECT_TRUE(first->isVisible());
        EXPECT_FALSE(first->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
    EXPECT_EQ(app.window(QStringLiteral("history"))->windowTitle(), L("記録"));
    EXPECT_EQ(app.window(QStringLiteral("glossary"))->windowTitle(), L("言葉のしおり"));

    // The footer's settings button opens the one settings window.
    settle();
    auto *settings = main->findChild<QAbstractButton *>(QStringLiteral("footer.settings"));
    ASSERT_NE(settings, nullptr);
    QTest::mouseClick(settings, Qt::LeftButton, {}, settings->rect().center());
    QTest::mouseClick(settings, Qt::LeftButton, {}, settings->rect().center());
    ASSERT_NE(app.window(QStringLiteral("settings")), nullptr);
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == QLatin1String("settings") ? 1 : 0;
    EXPECT_EQ(count, 1);

    // Pinning floats the main window only.
    rig->settings.setAlwaysOnTop(true);
    settle();
    EXPECT_TRUE(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(app.window(QStringLiteral("history"))->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

// A new text scale reaches every window, not only the main one: an open
// window shows its page built anew at the new size, where it was scrolled
// to and with the focus where it was; a closed one is made anew when it
// opens again.
TEST_F(RootViewTest, ANewTextScaleReachesTheOtherWindows)
{
    const auto owned = makeApp();
    QuillmereApp &app = *owned;
    app.openWindow(QStringLiteral("timer"));
    app.openWindow(QStringLiteral("history"));
    app.openWindow(QStringLiteral("glossary"));
    app.openSettings();
    settle();
    PaperWindow *settings = app.window(QStringLiteral("settings"));
    ASSERT_NE(settings, nullptr);
    QPointer<PaperWindow> glossary = app.window(QStringLiteral("glossary"));
    glossary->close();
    QPointer<QWidget> oldHistory = app.window(QStringLiteral("history"))->content();
    QPointer<QWidget> oldSettings = settings->content();
    auto *oldBar = oldSettings->findChild<QAbstractScrollArea *>()->verticalScrollBar();
    ASSERT_GT(oldBar->maximum(), 0);
    const int oldRange = oldBar->maximum();
    const QString largestName = QStringLiteral("settings.appearance.textSize3");
    auto *largest = oldSettings->findChild<InkButton *>(largestName);
    ASSERT_NE(largest, nullptr);
    oldBar->setValue(oldBar->maximum() / 2);
    const double oldFont = Kiv::pixelSize(largest->look().font);
    QApplication::setActiveWindow(settings);
    largest->setFocus(Qt::TabFocusReason);

    QTest::keyClick(largest, Qt::Key_Space); // chooses the largest size
    settle();

    ASSERT_GT(rig->settings.textScale(), 1.0);
    EXPECT_TRUE(oldSettings.isNull());
    EXPECT_TRUE(oldHistory.isNull());
    EXPECT_TRUE(glossary.isNull()) << "a closed window goes";
    EXPECT_EQ(app.window(QStringLiteral("glossary")), nullptr);
    ASSERT_EQ(app.window(QStringLiteral("settings")), settings) << "the window stays where it is";
    auto *again = settings->content()->findChild<InkButton *>(largestName);
    ASSERT_NE(again, nullptr);
    EXPECT_NEAR(Kiv::pixelSize(again->look().font), oldFont * rig->settings.textScale(), 0.1);
    EXPECT_EQ(QApplication::focusWidget(), again) << "the focus stays on the choice";
    const QScrollBar *bar = settings->content()->findChild<QAbstractScrollArea *>()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), oldRange) << "the larger text makes a longer page";
    EXPECT_NEAR(double(bar->value()) / bar->maximum(), 0.5, 0.02) << "as far down as before";

    app.openWindow(QStringLiteral("glossary"));
    ASSERT_NE(app.window(QStringLiteral("glossary")), nullptr);
    EXPECT_TRUE(app.window(QStringLiteral("glossary"))->isVisible());
    rig->settings.setTextScale(1.0);
    settle();
}

// A window at the screen's edge that a larger text scale makes larger is
// moved back within the screen instead of growing past its edge.
TEST_F(RootViewTest, AWindowGrownByANewTextScaleStaysOnTheScreen)
{
    const auto owned = makeApp();
    QuillmereApp &app = *owned;
    app.openWindow(QStringLiteral("timer"));
    app.openWindow(QStringLiteral("glossary"));
    settle();
    PaperWindow *glossary = app.window(QStringLiteral("glossary"));
    ASSERT_NE(glossary, nullptr);
    const QRect screen = glossary->screen()->availableGeometry();
    const QSize before = glossary->frameGeometry().size();
    glossary->move(screen.right() + 1 - before.width(), screen.bottom() + 1 - before.height());
    settle();

    rig->settings.setTextScale(1.5);
    settle();

    const QRect frame = glossary->frameGeometry();
    ASSERT_GT(frame.width(), before.width()) << "the larger page asks for a larger window";
    EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                        << frame.height();
    rig->settings.setTextScale(1.0);
    settle();
}

} // namespace
