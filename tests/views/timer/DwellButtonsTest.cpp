#include "model/RootTab.h"
#include "sources/TaskHub.h"
#include "views/ink/ElidedLabel.h"
#include "views/timer/DwellButton.h"
#include "views/timer/EndingsFixture.h"
#include "views/timer/NextRoundLine.h"
#include "views/timer/RoundsDwellList.h"
#include "views/timer/StayButton.h"

#include <QEnterEvent>

namespace {

using DwellButtonsTest = EndingsFixture;

TEST_F(DwellButtonsTest, InTheWalkBetweenRoundsTheLineNamesTheNextTaskAndStayBeginsAQuickRun)
{
    const TodoItem a = rig->addTask(QStringLiteral("A"));
    rig->addTask(QStringLiteral("B"));
    model->beginRounds({QStringLiteral("A"), QStringLiteral("B")});
    auto *line = place(new NextRoundLine(context()));
    auto *stay = place(new StayButton(context()));
    EXPECT_FALSE(line->isVisibleTo(window.get())) << "not during a round";
    EXPECT_FALSE(stay->isVisibleTo(window.get()));

    rig->finishPhase(); // the walk after the first round
    ASSERT_EQ(engine().phase(), Phase::shortBreak);
    EXPECT_TRUE(line->isVisibleTo(window.get()));
    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("timer.nextRoundCaption"))->text(), QStringLiteral("Next task"));
    EXPECT_EQ(line->title(), QStringLiteral("B"));
    ASSERT_TRUE(stay->isVisibleTo(window.get()));
    EXPECT_EQ(spokenName(stay), QStringLiteral("Stay with “A”"));
    EXPECT_EQ(stay->toolTip(), QStringLiteral("Leave Junkō and begin an Ichiza with this task"));

    // From another tab the stay also brings the timer back.
    model->setTab(RootTab::tasks);
    const qsizetype bells = rig->bells.size();
    click(stay);
    EXPECT_EQ(engine().mode(), Mode::quick);
    EXPECT_EQ(engine().state(), RunState::running);
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("A"));
    ASSERT_TRUE(rig->hub->selected());
    EXPECT_EQ(rig->hub->selected()->ref, a.ref);
    EXPECT_EQ(model->tab(), RootTab::pomodoro);
    EXPECT_GT(rig->bells.size(), bells) << "begun through the model, with its bell";
    // The rounds run is gone: neither the line nor the button remains.
    EXPECT_FALSE(line->isVisibleTo(window.get()));
    EXPECT_FALSE(stay->isVisibleTo(window.get()));
}

TEST_F(DwellButtonsTest, ALongNextTitleIsCutToOneLineUnderItsCaption)
{
    const QString longTitle = QStringLiteral("Answer every letter from the temple about the autumn retreat and its rota");
    rig->addTask(QStringLiteral("A"));
    model->beginRounds({QStringLiteral("A"), longTitle});
    rig->finishPhase();
    window->setFixedWidth(200);
    auto *line = place(new NextRoundLine(context()));
    auto *title = find<ElidedLabel>(QStringLiteral("timer.nextRoundTitle"));
    auto *caption = find<ElidedLabel>(QStringLiteral("timer.nextRoundCaption"));
    EXPECT_EQ(line->title(), longTitle) << "shown as written";
    EXPECT_TRUE(title->isElidedAt(title->width()));
    EXPECT_EQ(title->linesAt(title->width()).size(), 1);
    EXPECT_LT(caption->geometry().bottom(), title->geometry().top());
}

TEST_F(DwellButtonsTest, AStayOnATaskThatLeftTheHubStillBeginsWithItsTitle)
{
    const TodoItem a = rig->addTask(QStringLiteral("A"));
    rig->addTask(QStringLiteral("B"));
    model->beginRounds({QStringLiteral("A"), QStringLiteral("B")});
    rig->finishPhase();
    auto *stay = place(new StayButton(context()));
    rig->hub->complete(a.ref);
    rig->clock.advance(0);
    click(stay);
    EXPECT_EQ(engine().mode(), Mode::quick);
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("A"));
    EXPECT_FALSE(rig->hub->selected());
}

TEST_F(DwellButtonsTest, TheEndOfRoundsOffersTheOpenTasksOnceAndADwellBeginsNothing)
{
    rig->addTask(QStringLiteral("A"));
    const TodoItem b = rig->addTask(QStringLiteral("B"));
    const TodoItem c = rig->addTask(QStringLiteral("C"));
    model->beginRounds({QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    rig->hub->complete(c.ref); // done during the run: not offered
    rig->clock.advance(0);
    finishRun();
    auto *list = place(new RoundsDwellList(context()));

    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("timer.roundsHeading"))->text(), QStringLiteral("One round complete."));
    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("timer.roundsQuestion"))->text(),
              QStringLiteral("Is there a task you’d like to stay with?"));
    EXPECT_EQ(list->titles(), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
    EXPECT_EQ(shownButtons(), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));

    model->setTab(RootTab::day);
    click(buttonNamed(QStringLiteral("B")));
    EXPECT_FALSE(engine().mode()) << "the finished run is stopped and nothing begins";
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("B"));
    ASSERT_TRUE(rig->hub->selected());
    EXPECT_EQ(rig->hub->selected()->ref, b.ref);
    EXPECT_EQ(model->tab(), RootTab::pomodoro);
    // The list, rebuilt after the click, offers nothing more.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(list->titles().isEmpty());
    EXPECT_TRUE(shownButtons().isEmpty());
}

TEST_F(DwellButtonsTest, WithEveryTaskDoneTheListOnlySaysTheRoundIsComplete)
{
    const TodoItem a = rig->addTask(QStringLiteral("A"));
    model->beginRounds({QStringLiteral("A")});
    rig->hub->complete(a.ref);
    rig->clock.advance(0);
    finishRun();
    place(new RoundsDwellList(context()));
    EXPECT_TRUE(find<ElidedLabel>(QStringLiteral("timer.roundsHeading"))->isVisibleTo(window.get()));
    EXPECT_FALSE(find<ElidedLabel>(QStringLiteral("timer.roundsQuestion"))->isVisibleTo(window.get()));
    EXPECT_TRUE(shownButtons().isEmpty());
}

TEST_F(DwellButtonsTest, ADwellButtonTakesAFaintFillUnderThePointerAndCutsALongTitle)
{
    auto *button = place(new DwellButton(QStringLiteral("A rather long title of a task that will not fit")));
    EXPECT_EQ(button->fillNow().alpha(), 0);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(button, &enter);
    EXPECT_EQ(button->fillNow(), Kiv::ink(0.05));
    EXPECT_EQ(button->strokeNow(), Kiv::hairline());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_EQ(button->fillNow().alpha(), 0);

    // Only the capsule takes a press, not the corners of its frame.
    int clicks = 0;
    QObject::connect(button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(button->height() / 2, button->height() / 2));
    EXPECT_EQ(clicks, 1);

    // In a narrow column the button shrinks and its text is cut, on one line.
    window->setFixedWidth(160);
    QCoreApplication::processEvents();
    EXPECT_LE(button->width(), 160);
    EXPECT_EQ(button->height(), button->sizeHint().height());
}

} // namespace
