#include "core/AppSettings.h"
#include "views/ManualMotion.h"
#include "views/ink/Crossfade.h"
#include "views/ink/Reveal.h"
#include "sources/TaskHub.h"
#include "stores/SessionStore.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/Popover.h"
#include "views/ink/TextBlock.h"
#include "views/timer/ClockDigits.h"
#include "views/timer/EncoreButton.h"
#include "views/timer/EndingsFixture.h"
#include "views/timer/PrimaryButton.h"
#include "views/timer/RingView.h"
#include "views/timer/TaskTitleField.h"
#include "views/timer/TimerView.h"

#include <QGraphicsOpacityEffect>
#include <QPaintEvent>
#include <functional>

namespace {

// Counts the paint events a widget receives.
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct TimerViewTest : EndingsFixture
{
    TimerView *view = nullptr;

    void show()
    {
        view = place(new TimerView(context()));
        window->resize(420, 900);
        QCoreApplication::processEvents();
    }
    bool shown(const char *name) const
    {
        QWidget *w = window->findChild<QWidget *>(QString::fromLatin1(name));
        return w && w->isVisibleTo(window.get());
    }
    QString text(const char *name) const
    {
        if (auto *label = window->findChild<ElidedLabel *>(QString::fromLatin1(name)))
            return label->text();
        if (auto *block = window->findChild<TextBlock *>(QString::fromLatin1(name)))
            return block->text();
        return QStringLiteral("<missing>");
    }
    InkButton *button(const char *name) const { return find(QString::fromLatin1(name)); }
    PlainLineEdit *titleEdit() const
    {
        return window->findChild<PlainLineEdit *>(QStringLiteral("timer.titleField.edit"));
    }
    void advance(qint64 ms)
    {
        rig->clock.advance(ms);
        QCoreApplication::processEvents();
    }
};

TEST_F(TimerViewTest, EachStateOfTheRunShowsItsRowOfTheScreen)
{
    struct Row
    {
        const char *name;
        std::function<void(TimerViewTest &)> prepare;
        const char *title;
        const char *face; // object name of the face shown
        bool titleField;  // else the next round's line
        bool isshin;
        bool panel;
        const char *primary;
        bool resetEnabled;
        bool moss; // the primary button's tint
        const char *mode;
    };
    const Row rows[] = {
        {"idle focus", [](TimerViewTest &t) { t.engine().begin(Mode::quick, false, {}); t.engine().reset(); },
         "Savor", "timer.incense", true, true, false, "Begin", false, false, "Ichiza"},
        {"running focus", [](TimerViewTest &t) { t.engine().begin(Mode::quick, false, {}); t.advance(1000); },
         "Savor", "timer.incense", true, true, false, "Pause", true, false, "Ichiza"},
        {"paused focus",
         [](TimerViewTest &t) { t.engine().begin(Mode::quick, false, {}); t.advance(1000); t.engine().pause(); },
         "Savor", "timer.incense", true, true, true, "Resume", true, false, "Ichiza"},
        {"ring focus",
         [](TimerViewTest &t) {
             t.rig->settings.setFocusVisual(FocusVisual::ring);
             t.engine().begin(Mode::hour, false, {});
         },
         "Savor", "timer.ring", true, true, false, "Pause", true, false, "Itchū"},
        {"running walk",
         [](TimerViewTest &t) { t.engine().begin(Mode::quick, false, {}); t.rig->finishPhase(); },
         "Kinhin (walking)", "timer.kinhin", true, false, true, "Pause", true, true, "Ichiza"},
        {"idle walk",
         [](TimerViewTest &t) {
             t.engine().begin(Mode::quick, false, {});
             t.rig->finishPhase();
             t.engine().reset();
         },
         "Kinhin (walking)", "timer.kinhin", true, false, true, "Begin", false, true, "Ichiza"},
        {"rounds walk",
         [](TimerViewTest &t) {
             t.model->beginRounds({QStringLiteral("Porch"), QStringLiteral("Letters")});
             t.rig->finishPhase();
         },
         "Kinhin (walking)", "timer.kinhin", false, false, true, "Pause", true, true, "Junkō"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        rig = std::make_unique<ModelRigs::Rig>();
        window = std::make_unique<QWidget>();
        column = new QVBoxLayout(window.get());
        SetUp();
        row.prepare(*this);
        show();
        EXPECT_EQ(text("timer.headerTitle"), QString::fromUtf8(row.title));
        for (const char *face : {"timer.incense", "timer.ring", "timer.kinhin"})
            EXPECT_EQ(shown(face), QLatin1String(face) == QLatin1String(row.face)) << face;
        EXPECT_EQ(shown("timer.titleField"), row.titleField);
        EXPECT_EQ(shown("timer.nextRoundLine"), !row.titleField);
        EXPECT_EQ(shown("timer.isshin"), row.isshin);
        EXPECT_EQ(shown("timer.pausedPanel"), row.panel);
        EXPECT_EQ(button("timer.primaryButton")->text(), QString::fromUtf8(row.primary));
        EXPECT_EQ(static_cast<PrimaryButton *>(button("timer.primaryButton"))->tint(),
                  row.moss ? RoundButtons::Tint::moss : RoundButtons::Tint::indigo);
        EXPECT_EQ(button("timer.resetButton")->isEnabled(), row.resetEnabled);
        EXPECT_TRUE(shown("timer.column"));
        EXPECT_FALSE(shown("timer.completion"));
        EXPECT_TRUE(shown("timer.rhythm"));
        // A break says what to do in it; focus shows the clock alone.
        EXPECT_EQ(shown("timer.breakInstruction"), !row.isshin);
        EXPECT_EQ(text("timer.modeName"), QString::fromUtf8(row.mode));
    }
}

TEST_F(TimerViewTest, TheEndOfARunSwitchesToTheCompletionViewUnderTheModesName)
{
    engine().setTaskTitle(QStringLiteral("Letters"));
    engine().begin(Mode::chore, false, {});
    show();
    EXPECT_TRUE(shown("timer.column"));
    finishRun();
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown("timer.column"));
    EXPECT_TRUE(shown("timer.completion"));
    EXPECT_EQ(text("timer.headerTitle"), QStringLiteral("Shōza"));
    EXPECT_FALSE(shown("timer.modeName"));
    EXPECT_TRUE(shown("timer.backButton"));
    // Again from there is a new run of the same mode: the column returns.
    click(buttonNamed(QStringLiteral("もう一度")));
    EXPECT_EQ(engine().state(), RunState::running);
    EXPECT_TRUE(shown("timer.column"));
    EXPECT_FALSE(shown("timer.completion"));
}

TEST_F(TimerViewTest, PrimaryResetNextAndBackMakeTheirEngineCalls)
{
    engine().begin(Mode::quick, false, {});
    show();
    advance(5000);
    InkButton *primary = button("timer.primaryButton");
    click(primary);
    EXPECT_EQ(engine().state(), RunState::paused);
    EXPECT_EQ(primary->text(), QStringLiteral("Resume"));
    // The keyboard reaches it too.
    primary->setFocus(Qt::TabFocusReason);
    QTest::keyClick(primary, Qt::Key_Space);
    EXPECT_EQ(engine().state(), RunState::running);

    click(button("timer.resetButton"));
    EXPECT_EQ(engine().state(), RunState::idle);
    EXPECT_EQ(engine().progress(), 0);
    EXPECT_FALSE(button("timer.resetButton")->isEnabled());
    EXPECT_EQ(primary->text(), QStringLiteral("Begin"));
    EXPECT_TRUE(rig->store.records().isEmpty()) << "reset keeps no record";

    click(primary);
    advance(3000);
    // Next ends a timed focus as not completed and moves to the walk.
    click(button("timer.nextButton"));
    EXPECT_EQ(engine().phase(), Phase::shortBreak);
    ASSERT_EQ(rig->store.records().size(), 1);
    EXPECT_FALSE(rig->store.records().last().completed);

    advance(2000);
    click(button("timer.backButton"));
    EXPECT_FALSE(engine().mode());
    EXPECT_EQ(rig->store.records().size(), 2) << "the walked part is recorded";
}

TEST_F(TimerViewTest, NextEndsAnOpenEndedFocusAsCompleted)
{
    engine().begin(Mode::open, false, {});
    show();
    advance(90 * 1000);
    click(button("timer.nextButton"));
    ASSERT_EQ(rig->store.records().size(), 1);
    EXPECT_TRUE(rig->store.records().last().completed);
}

TEST_F(TimerViewTest, PausingShowsThePanelWithLetGoAndResumingHidesIt)
{
    engine().begin(Mode::quick, false, {});
    show();
    EXPECT_FALSE(shown("timer.pausedPanel"));
    click(button("timer.primaryButton"));
    EXPECT_TRUE(shown("timer.pausedPanel"));
    EXPECT_EQ(text("timer.pausedHelp"), QStringLiteral("Let go = stop here for now"));
    EXPECT_TRUE(shown("timer.putDownButton"));
    EXPECT_FALSE(shown("timer.completeTaskButton")) << "no task linked";
    EXPECT_FALSE(shown("timer.encoreButton")) << "no encore in focus";
    click(button("timer.primaryButton"));
    EXPECT_FALSE(shown("timer.pausedPanel"));
}

TEST_F(TimerViewTest, ThePanelFadesInWhenARoundIsPaused)
{
    engine().begin(Mode::quick, false, {});
    show();
    Motion::setInstant(false);
    click(button("timer.primaryButton"));
    QWidget *panel = window->findChild<QWidget *>(QStringLiteral("timer.pausedPanel"));
    ASSERT_TRUE(panel->isVisible());
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(panel->graphicsEffect());
    ASSERT_TRUE(effect);
    EXPECT_TRUE(effect->isEnabled());
    EXPECT_LT(effect->opacity(), 1.0);
    Motion::setInstant(true);
}

// A new state eases the running column over 0.25 s: the controls dissolve
// into their new look, and the paused panel grows in with a fade; a new
// phase eases the whole screen over 0.3 s. Each motion then stops.
TEST_F(TimerViewTest, StateAndPhaseChangesMoveForTheirTimeAndThenStop)
{
    engine().begin(Mode::quick, false, {});
    show();
    ASSERT_EQ(engine().state(), RunState::running);
    ManualMotion motion;
    Reveal *panel = view->panelBox();

    click(button("timer.primaryButton")); // pauses
    EXPECT_TRUE(view->controlsFade()->isRunning());
    EXPECT_FALSE(view->screenFade()->isRunning()) << "the same phase";
    ManualMotion::advance(125);
    QCoreApplication::processEvents();
    EXPECT_GT(panel->height(), 0);
    EXPECT_LT(panel->height(), panel->naturalHeight(panel->width())) << "the panel grows in";
    EXPECT_GT(panel->opacity(), 0);
    EXPECT_LT(panel->opacity(), 1);
    EXPECT_TRUE(ManualMotion::lastsFor(125)) << "pause";
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->height(), panel->naturalHeight(panel->width()));
    EXPECT_TRUE(shown("timer.putDownButton"));

    click(button("timer.primaryButton")); // resumes
    EXPECT_TRUE(view->controlsFade()->isRunning());
    EXPECT_TRUE(shown("timer.pausedPanel")) << "still there while it shrinks away";
    EXPECT_TRUE(ManualMotion::lastsFor(250)) << "resume";
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown("timer.pausedPanel"));

    click(button("timer.nextButton")); // on to the walk
    ASSERT_EQ(engine().phase(), Phase::shortBreak);
    EXPECT_TRUE(view->screenFade()->isRunning());
    EXPECT_FALSE(view->controlsFade()->isRunning()) << "the screen's fade holds the controls too";
    EXPECT_TRUE(ManualMotion::lastsFor(300)) << "a new phase";
    EXPECT_FALSE(view->screenFade()->isRunning());
}

TEST_F(TimerViewTest, LetGoWithoutANextRoundStopsAndClearsTheTitleAndTheSelection)
{
    model->take(rig->addTask(QStringLiteral("Letters")));
    engine().begin(Mode::quick, false, {});
    show();
    advance(4000);
    click(button("timer.primaryButton"));
    click(button("timer.putDownButton"));
    EXPECT_FALSE(engine().mode());
    EXPECT_TRUE(engine().taskTitle().isEmpty());
    EXPECT_FALSE(rig->hub->selected());
    EXPECT_EQ(rig->store.records().size(), 1) << "the time so far is recorded";
}

TEST_F(TimerViewTest, LetGoInARoundsWalkMovesToTheNextRoundAndTheWalkOffersNoEncore)
{
    model->beginRounds({QStringLiteral("Porch"), QStringLiteral("Letters"), QStringLiteral("Moss")});
    rig->finishPhase();
    show();
    EXPECT_FALSE(shown("timer.encoreButton")) << "a rounds run never offers one more sitting";
    EXPECT_TRUE(shown("timer.stayButton"));
    advance(3000);
    const qsizetype before = rig->store.records().size();
    click(button("timer.putDownButton"));
    EXPECT_EQ(engine().mode(), Mode::rounds);
    EXPECT_EQ(engine().phase(), Phase::focus);
    EXPECT_EQ(engine().state(), RunState::running);
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("Letters"));
    ASSERT_EQ(rig->store.records().size(), before + 1);
    EXPECT_FALSE(rig->store.records().last().completed) << "the walk let go of";
    EXPECT_TRUE(shown("timer.titleField"));
}

TEST_F(TimerViewTest, MarkDoneCompletesTheLinkedTaskThenLetsGo)
{
    const TodoItem letters = rig->addTask(QStringLiteral("Letters"));
    model->take(letters);
    engine().begin(Mode::quick, false, {});
    show();
    advance(4000);
    click(button("timer.primaryButton"));
    EXPECT_EQ(text("timer.pausedHelp"), QStringLiteral("Let go = stop here for now  /  Mark done = finish this task"));
    InkButton *done = button("timer.completeTaskButton");
    ASSERT_TRUE(shown("timer.completeTaskButton"));
    EXPECT_EQ(done->toolTip(), QStringLiteral("Mark “Letters” as done"));
    click(done);
    advance(0);
    EXPECT_EQ(model->notice(), QStringLiteral("Marked “Letters” as done."));
    EXPECT_FALSE(engine().mode());
    EXPECT_TRUE(engine().taskTitle().isEmpty());
    for (const TodoItem &item : rig->hub->items())
        EXPECT_NE(item.ref, letters.ref);
}

TEST_F(TimerViewTest, MarkDoneWithARoundAheadCountsThisRoundAsCompleted)
{
    const TodoItem porch = rig->addTask(QStringLiteral("Porch"));
    rig->addTask(QStringLiteral("Letters"));
    model->beginRounds({QStringLiteral("Porch"), QStringLiteral("Letters")});
    model->take(porch);
    rig->clock.advance(60 * 1000);
    engine().pause();
    show();
    click(button("timer.completeTaskButton"));
    advance(0);
    EXPECT_EQ(engine().mode(), Mode::rounds);
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("Letters"));
    ASSERT_FALSE(rig->store.records().isEmpty());
    EXPECT_TRUE(rig->store.records().last().completed);
}

TEST_F(TimerViewTest, OneMoreSittingTogglesItsTitleAndLine)
{
    engine().begin(Mode::quick, false, {});
    rig->finishPhase();
    show();
    auto *encore = static_cast<EncoreButton *>(button("timer.encoreButton"));
    ASSERT_TRUE(shown("timer.encoreButton"));
    EXPECT_EQ(encore->text(), QStringLiteral("Keep sitting"));
    EXPECT_EQ(text("timer.encoreLine"), QStringLiteral("Decide now and it carries on without stopping"));
    EXPECT_FALSE(encore->isChosen());
    EXPECT_FALSE(engine().phaseAt(engine().stepIndex() + 1));

    click(encore);
    EXPECT_TRUE(engine().phaseAt(engine().stepIndex() + 1));
    EXPECT_TRUE(encore->isChosen());
    EXPECT_EQ(encore->text(), QStringLiteral("Never mind"));
    EXPECT_EQ(text("timer.encoreLine"), QStringLiteral("When the walk ends, the next sitting begins"));

    encore->setFocus(Qt::TabFocusReason);
    QTest::keyClick(encore, Qt::Key_Return);
    EXPECT_FALSE(engine().phaseAt(engine().stepIndex() + 1));
    EXPECT_EQ(encore->text(), QStringLiteral("Keep sitting"));
}

TEST_F(TimerViewTest, TheTitleFieldAndTheEngineFollowEachOther)
{
    const TodoItem letters = rig->addTask(QStringLiteral("Letters"));
    model->take(letters);
    engine().setTaskTitle(QString());
    engine().begin(Mode::quick, false, {});
    show();
    PlainLineEdit *edit = titleEdit();
    ASSERT_TRUE(edit);
    EXPECT_FALSE(edit->hasFocus()) << "the running screen's field waits to be clicked";
    EXPECT_EQ(edit->placeholderText(), QStringLiteral("What are you turning to now?"));

    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClicks(edit, QStringLiteral("Lett"));
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("Lett"));
    auto *field = window->findChild<TaskTitleField *>(QStringLiteral("timer.titleField"));
    EXPECT_FALSE(field->showsLinkDot());
    QTest::keyClicks(edit, QStringLiteral("ers "));
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("Letters "));
    EXPECT_TRUE(field->showsLinkDot()) << "blanks at the ends still name the task";
    // The panel's help follows the link as it is typed.
    click(button("timer.primaryButton"));
    EXPECT_TRUE(shown("timer.completeTaskButton"));

    // An edit in the middle keeps its cursor: the engine's echo does not
    // write the text back.
    edit->setFocus();
    edit->setCursorPosition(3);
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("Letxters "));
    EXPECT_EQ(edit->cursorPosition(), 4);
    EXPECT_FALSE(shown("timer.completeTaskButton"));

    // A change on the engine's side shows in the field.
    engine().setTaskTitle(QStringLiteral("Moss"));
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->text(), QStringLiteral("Moss"));

    // Return gives up the keyboard and keeps the text.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(edit->hasFocus());
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("Moss"));
}

// The underline turns indigo over 0.2 s as the field takes the keyboard,
// and the link dot fades in over 0.2 s as the title comes to name the task.
TEST_F(TimerViewTest, TheTitleFieldsUnderlineAndDotFadeOverAFifthOfASecond)
{
    model->take(rig->addTask(QStringLiteral("Letters")));
    engine().setTaskTitle(QString());
    engine().begin(Mode::quick, false, {});
    show();
    auto *field = window->findChild<TaskTitleField *>(QStringLiteral("timer.titleField"));
    ManualMotion motion;
    PlainLineEdit *edit = titleEdit();
    edit->setFocus();
    QCoreApplication::processEvents();
    ManualMotion::advance(100);
    EXPECT_GT(field->underlineLevel(), 0);
    EXPECT_LT(field->underlineLevel(), 1);
    EXPECT_TRUE(ManualMotion::lastsFor(100)) << "the underline";
    EXPECT_EQ(field->underlineLevel(), 1);

    QTest::keyClicks(edit, QStringLiteral("Letters"));
    EXPECT_TRUE(field->showsLinkDot());
    EXPECT_LT(field->linkDotLevel(), 1);
    EXPECT_TRUE(ManualMotion::lastsFor(200)) << "the dot";
    EXPECT_EQ(field->linkDotLevel(), 1);
}

TEST_F(TimerViewTest, TheListButtonOpensTheTaskPickerAndLeavesTheField)
{
    rig->addTask(QStringLiteral("Letters"));
    engine().begin(Mode::quick, false, {});
    show();
    PlainLineEdit *edit = titleEdit();
    edit->setFocus();
    InkButton *list = button("timer.titleField.list");
    ASSERT_TRUE(list);
    EXPECT_EQ(spokenName(list), QStringLiteral("Choose from tasks"));
    click(list);
    EXPECT_FALSE(edit->hasFocus());
    auto *field = window->findChild<TaskTitleField *>(QStringLiteral("timer.titleField"));
    ASSERT_TRUE(field->pickerPopover());
    EXPECT_TRUE(field->pickerPopover()->isVisible());
    field->pickerPopover()->close();
}

TEST_F(TimerViewTest, TheClockRepaintsOnlyWhenItsTextChanges)
{
    engine().begin(Mode::quick, false, {});
    show();
    auto *digits = window->findChild<ClockDigits *>(QStringLiteral("timer.clockDigits"));
    ASSERT_TRUE(digits);
    PaintCounter counter;
    digits->installEventFilter(&counter);
    advance(100); // settle on a whole second
    counter.paints = 0;
    for (int i = 0; i < 12; ++i)
        advance(250);
    EXPECT_GE(counter.paints, 2);
    EXPECT_LE(counter.paints, 4) << "three seconds of a running phase";

    engine().pause();
    QCoreApplication::processEvents();
    counter.paints = 0;
    for (int i = 0; i < 12; ++i)
        advance(250);
    EXPECT_EQ(counter.paints, 0) << "paused";

    engine().start();
    window->hide();
    QCoreApplication::processEvents();
    counter.paints = 0;
    for (int i = 0; i < 12; ++i)
        advance(250);
    EXPECT_EQ(counter.paints, 0) << "hidden";
    const QString before = digits->text();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_NE(digits->text(), before) << "shown again, it reads the time anew";
}

TEST(ClockDigits, EveryDigitKeepsTheSameCell)
{
    const QFont font = Kiv::font(60, Kiv::Design::serif, QFont::Light);
    const QList<QRectF> reference = ClockDigits::cells(QStringLiteral("00:00"), font);
    for (const char *text : {"11:11", "17:47", "09:38", "22:59"})
        EXPECT_EQ(ClockDigits::cells(QString::fromLatin1(text), font), reference) << text;
    EXPECT_GT(reference[0].width(), 0);
    EXPECT_EQ(ClockDigits::cells(QStringLiteral("1:00:00"), font).size(), 7);
}

} // namespace

namespace {

// The clock on the ring keeps its size at a large text scale (the ring grows
// to hold it), shrinking only as far as the narrowest window needs, whether
// the screen is made before the run or while its window shows.
TEST_F(TimerViewTest, TheClockOnTheRingIsAsLargeAsTheRingCanHold)
{
    Kiv::setScale(1.6);
    rig->settings.setFocusVisual(FocusVisual::ring);
    window->resize(380, 740);
    window->show();
    QCoreApplication::processEvents();
    engine().begin(Mode::quick);
    show();
    auto *digits = window->findChild<ClockDigits *>(QStringLiteral("timer.clockDigits"));
    auto *ring = window->findChild<RingView *>(QStringLiteral("timer.ring"));
    ASSERT_NE(digits, nullptr);
    ASSERT_NE(ring, nullptr);
    const QSize clock = digits->sizeHint();
    // 60 × 1.6 = 96 pt at most; no less than 80 % of it.
    EXPECT_GE(clock.height(), int(0.8 * Kiv::lineHeight(Kiv::font(60, Kiv::Design::serif, QFont::Light))));
    EXPECT_LE(ring->width(), RingView::kWidestFrame);
    EXPECT_LE(RingView::sideToHold(QSizeF(clock)), ring->height() + 1) << "the hole holds the clock";
}

} // namespace
