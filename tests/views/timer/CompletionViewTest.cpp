#include "sources/TaskHub.h"
#include "views/ink/ElidedLabel.h"
#include "views/timer/CompletionContent.h"
#include "views/timer/CompletionView.h"
#include "views/timer/EndingsFixture.h"
#include "views/timer/RoundsDwellList.h"

namespace {

TEST(CompletionContent, WhatEachModeSaysAndOffersInBothLanguages)
{
    struct Case
    {
        Mode mode;
        bool japanese;
        const char *titleLine; // null: the rounds list instead
        const char *modeName;
    };
    const Case cases[] = {
        {Mode::open, false, "“Letters”", "Ninnun"},  {Mode::chore, false, "“Letters”", "Shōza"},
        {Mode::quick, false, "“Letters”", "Ichiza"}, {Mode::hour, false, "“Letters”", "Itchū"},
        {Mode::clock, false, "“Letters”", "Jōjū"},   {Mode::rounds, false, nullptr, "Junkō"},
        {Mode::open, true, "「Letters」", "任運"},    {Mode::chore, true, "「Letters」", "小坐"},
        {Mode::quick, true, "「Letters」", "一坐"},   {Mode::hour, true, "「Letters」", "一炷"},
        {Mode::clock, true, "「Letters」", "常住"},   {Mode::rounds, true, nullptr, "巡香"},
    };
    for (const Case &c : cases) {
        Lang::setForTesting(c.japanese);
        SCOPED_TRACE(c.modeName);
        const CompletionContent content = CompletionContent::of({c.mode, QStringLiteral("Letters"), std::nullopt});
        // The thanks and the again button read in Japanese in both languages.
        EXPECT_EQ(content.thanks, QStringLiteral("おつかれさまでした"));
        EXPECT_EQ(content.again.title, QStringLiteral("もう一度"));
        EXPECT_EQ(content.putDown.title, c.japanese ? QStringLiteral("手を離す") : QStringLiteral("Let go"));
        EXPECT_EQ(content.modeName, QString::fromUtf8(c.modeName));
        if (c.titleLine)
            EXPECT_EQ(content.titleLine, QString::fromUtf8(c.titleLine));
        else
            EXPECT_FALSE(content.titleLine);
        EXPECT_EQ(content.showsRoundsList, c.titleLine == nullptr);
        EXPECT_TRUE(content.again.visible);
        EXPECT_TRUE(content.putDown.visible);
        EXPECT_FALSE(content.complete.visible) << "no task linked";
    }
    Lang::setForTesting(false);
    const CompletionContent linked = CompletionContent::of({Mode::hour, QStringLiteral("Letters"), QStringLiteral("Letters")});
    EXPECT_TRUE(linked.complete.visible);
    EXPECT_EQ(linked.complete.title, QStringLiteral("Mark done"));
    EXPECT_EQ(linked.complete.toolTip, QStringLiteral("Mark “Letters” as done"));
    Lang::setForTesting(std::nullopt);
}

using CompletionViewTest = EndingsFixture;

TEST_F(CompletionViewTest, ShowsTheRunsTitleModeAndTheTwoWaysOnWithoutALinkedTask)
{
    // An empty title reads as "Savor".
    engine().begin(Mode::chore, false, {});
    finishRun();
    place(new CompletionView(context()));

    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("timer.completionThanks"))->text(), QStringLiteral("おつかれさまでした"));
    auto *title = find<ElidedLabel>(QStringLiteral("timer.completionTitle"));
    EXPECT_TRUE(title->isVisibleTo(window.get()));
    EXPECT_EQ(title->text(), QStringLiteral("“Savor”"));
    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("timer.completionMode"))->text(), QStringLiteral("Shōza"));
    EXPECT_FALSE(find<RoundsDwellList>(QStringLiteral("timer.roundsDwellList"))->isVisibleTo(window.get()));
    EXPECT_EQ(shownButtons(), (QStringList{QStringLiteral("もう一度"), QStringLiteral("Let go")}));
    EXPECT_EQ(find(QStringLiteral("timer.putDownButton"))->toolTip(),
              QStringLiteral("Stop here and choose again (the time so far is recorded)"));
}

TEST_F(CompletionViewTest, AgainBeginsTheSameModeAtOnceWithoutBellOrTitles)
{
    rig->settings.setPrepares(true); // again does not pass through the preparation
    model->beginRounds({QStringLiteral("A"), QStringLiteral("B")});
    ASSERT_TRUE(model->preparing());
    model->skipPreparation();
    finishRun();
    const qsizetype bells = rig->bells.size();
    place(new CompletionView(context()));

    click(buttonNamed(QStringLiteral("もう一度")));
    EXPECT_EQ(engine().mode(), Mode::rounds);
    EXPECT_EQ(engine().state(), RunState::running);
    EXPECT_TRUE(engine().rounds().isEmpty()) << "the finished run's titles are not repeated";
    EXPECT_FALSE(engine().phaseAt(engine().stepIndex() + 1)) << "one focus phase";
    EXPECT_FALSE(model->preparing());
    EXPECT_EQ(rig->bells.size(), bells);
}

TEST_F(CompletionViewTest, LetGoLeavesTheFinishedRunAndItsTask)
{
    const TodoItem letters = rig->addTask(QStringLiteral("Letters"));
    model->take(letters);
    engine().begin(Mode::quick, false, {});
    finishRun();
    place(new CompletionView(context()));
    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("timer.completionTitle"))->text(), QStringLiteral("“Letters”"));

    // Reached by the keyboard too: Tab to it, Space presses it.
    InkButton *letGo = buttonNamed(QStringLiteral("Let go"));
    ASSERT_TRUE(letGo);
    EXPECT_NE(letGo->focusPolicy() & Qt::TabFocus, 0);
    letGo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(letGo, Qt::Key_Space);
    EXPECT_FALSE(engine().mode());
    EXPECT_TRUE(engine().taskTitle().isEmpty());
    EXPECT_FALSE(rig->hub->selected());
}

TEST_F(CompletionViewTest, MarkDoneOnlyCompletesTheLinkedTaskAndThenGoesAway)
{
    const TodoItem letters = rig->addTask(QStringLiteral("Letters"));
    model->take(letters);
    engine().begin(Mode::hour, false, {});
    finishRun();
    place(new CompletionView(context()));
    EXPECT_EQ(shownButtons(),
              (QStringList{QStringLiteral("もう一度"), QStringLiteral("Let go"), QStringLiteral("Mark done")}));
    InkButton *done = buttonNamed(QStringLiteral("Mark done"));
    ASSERT_TRUE(done);
    EXPECT_EQ(done->toolTip(), QStringLiteral("Mark “Letters” as done"));

    click(done);
    rig->clock.advance(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(model->notice(), QStringLiteral("Marked “Letters” as done."));
    // The run stays finished with its mode and title: the screen stays.
    EXPECT_EQ(engine().state(), RunState::finished);
    EXPECT_EQ(engine().mode(), Mode::hour);
    EXPECT_EQ(engine().taskTitle(), QStringLiteral("Letters"));
    EXPECT_FALSE(model->linkedTask());
    EXPECT_EQ(shownButtons(), (QStringList{QStringLiteral("もう一度"), QStringLiteral("Let go")}));
}

} // namespace
