#include "model/ModelRig.h"
#include "support/LanguageFixtures.h"
#include "views/timer/DwellChoices.h"
#include "views/timer/TimerViewState.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;
using Inputs = TimerViewState::Inputs;

// One line for what a row of the screen's state table fixes: header title,
// face and clock, rounds line, three minds, panel, primary title, reset.
QString row(const TimerViewState &s)
{
    if (!s.showsColumn)
        return s.title + (s.showsCompletion ? QStringLiteral("|completion: ") + s.completionTitle
                                            : QStringLiteral("|empty"));
    static const char *faces[] = {"incense", "ring", "walking"};
    QStringList parts{s.title, QString::fromLatin1(faces[int(s.face)]),
                      s.largeClock ? QStringLiteral("large") : QStringLiteral("small: ") + s.breakInstruction};
    parts << (s.showsTitleField ? QStringLiteral("field")
                                : QStringLiteral("next ") + s.nextRoundTitle.value_or(QStringLiteral("?")) +
                                      (s.stayTitle ? QStringLiteral(", ") + s.stayLabel : QString()));
    parts << (s.showsIsshin ? QStringLiteral("minds") : QStringLiteral("-"));
    parts << (s.showsPanel ? QStringLiteral("panel") : QStringLiteral("-"));
    parts << s.buttons.primary.title;
    parts << (s.buttons.reset.enabled ? QStringLiteral("reset") : QStringLiteral("reset off"));
    return parts.join(QLatin1Char('|'));
}

Inputs inputs(std::optional<Mode> mode, Phase phase, RunState state, double progress = 0)
{
    Inputs in;
    in.mode = mode;
    in.phase = phase;
    in.state = state;
    in.progress = progress;
    in.displayTitle = QStringLiteral("Letters");
    return in;
}

TEST(TimerViewState, EveryRowOfTheStateTableInBothLanguages)
{
    Inputs ring = inputs(Mode::quick, Phase::focus, RunState::paused, 0.4);
    ring.focusVisual = FocusVisual::ring;
    Inputs roundsBreak = inputs(Mode::rounds, Phase::shortBreak, RunState::running, 0.5);
    roundsBreak.nextRoundTitle = QStringLiteral("B");
    roundsBreak.lastRoundTitle = QStringLiteral("A");
    Inputs lastInRounds = inputs(Mode::rounds, Phase::shortBreak, RunState::idle, 0);
    lastInRounds.lastRoundTitle = QStringLiteral("A"); // no next round: the title field stays

    struct Case
    {
        const char *name;
        Inputs in;
        const char *english;
        const char *japanese;
    };
    const Case cases[] = {
        {"idle focus, nothing done", inputs(Mode::quick, Phase::focus, RunState::idle),
         "Savor|incense|large|field|minds|-|Begin|reset off", "味わう|incense|large|field|minds|-|はじめる|reset off"},
        {"idle focus with progress", inputs(Mode::clock, Phase::focus, RunState::idle, 0.3),
         "Savor|incense|large|field|minds|-|Begin|reset", "味わう|incense|large|field|minds|-|はじめる|reset"},
        {"running focus", inputs(Mode::hour, Phase::focus, RunState::running, 0.1),
         "Savor|incense|large|field|minds|-|Pause|reset", "味わう|incense|large|field|minds|-|とめる|reset"},
        {"paused focus, ring face", ring, "Savor|ring|large|field|minds|panel|Resume|reset",
         "味わう|ring|large|field|minds|panel|つづける|reset"},
        {"running walk", inputs(Mode::quick, Phase::shortBreak, RunState::running, 0.2),
         "Kinhin (walking)|walking|small: Stand, and walk slowly|field|-|panel|Pause|reset",
         "経行|walking|small: 立って、ゆっくり歩いてください|field|-|panel|とめる|reset"},
        {"idle walk, nothing done", inputs(Mode::quick, Phase::shortBreak, RunState::idle),
         "Kinhin (walking)|walking|small: Stand, and walk slowly|field|-|panel|Begin|reset off",
         "経行|walking|small: 立って、ゆっくり歩いてください|field|-|panel|はじめる|reset off"},
        {"rounds walk with a next round", roundsBreak,
         "Kinhin (walking)|walking|small: Stand, and walk slowly|next B, Stay with “A”|-|panel|Pause|reset",
         "経行|walking|small: 立って、ゆっくり歩いてください|next B, 「A」に留まる|-|panel|とめる|reset"},
        {"rounds walk without a next round", lastInRounds,
         "Kinhin (walking)|walking|small: Stand, and walk slowly|field|-|panel|Begin|reset off",
         "経行|walking|small: 立って、ゆっくり歩いてください|field|-|panel|はじめる|reset off"},
        {"paused tea break", inputs(Mode::hour, Phase::longBreak, RunState::paused, 0.5),
         "Sarei (tea break)|incense|small: Leave your seat and take a breath|field|-|panel|Resume|reset",
         "茶礼|incense|small: 座を離れて、ひと息いれてください|field|-|panel|つづける|reset"},
        {"finished", inputs(Mode::rounds, Phase::focus, RunState::finished, 1), "Junkō|completion: Letters",
         "巡香|completion: Letters"},
        {"finished without a mode", inputs(std::nullopt, Phase::focus, RunState::finished), "|empty", "|empty"},
    };
    for (bool japanese : {false, true}) {
        Lang::setForTesting(japanese);
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(row(TimerViewState::of(c.in)), QString::fromUtf8(japanese ? c.japanese : c.english));
        }
    }
    Lang::setForTesting(std::nullopt);
}

TEST(TimerViewState, HeaderModeNameAndStripFollowTheRun)
{
    Lang::setForTesting(false);
    Inputs clock = inputs(Mode::clock, Phase::shortBreak, RunState::running, 0.5);
    clock.planIndex = 13;
    TimerViewState s = TimerViewState::of(clock);
    EXPECT_EQ(s.modeName, QStringLiteral("Jōjū"));
    ASSERT_TRUE(s.strip);
    EXPECT_EQ(s.strip->phases, (QList<Phase>{Phase::focus, Phase::shortBreak, Phase::focus, Phase::shortBreak}));
    EXPECT_TRUE(s.strip->endless);
    EXPECT_EQ(s.strip->current, 5); // the strip repeats every eight steps

    Inputs open = inputs(Mode::open, Phase::focus, RunState::running, 0.5);
    s = TimerViewState::of(open);
    EXPECT_EQ(s.strip, (RhythmPlan{{Phase::focus}, false, true, 0}));

    // A rounds run shows its own rounds: two tasks are two sits with one
    // walk between, and nothing after them; no titles, one sit.
    Inputs rounds = inputs(Mode::rounds, Phase::shortBreak, RunState::running, 0.5);
    rounds.planIndex = 1;
    rounds.rounds = 2;
    s = TimerViewState::of(rounds);
    EXPECT_EQ(s.strip, (RhythmPlan{{Phase::focus, Phase::shortBreak, Phase::focus}, false, false, 1}));
    rounds.rounds = 0;
    rounds.phase = Phase::focus;
    rounds.planIndex = 0;
    EXPECT_EQ(TimerViewState::of(rounds).strip, (RhythmPlan{{Phase::focus}, false, false, 0}));

    // No mode: no mode name and no strip; a finished run names its mode in
    // the title alone.
    EXPECT_FALSE(TimerViewState::of(inputs(std::nullopt, Phase::focus, RunState::idle)).strip);
    s = TimerViewState::of(inputs(Mode::hour, Phase::shortBreak, RunState::finished));
    EXPECT_EQ(s.title, QStringLiteral("Itchū"));
    EXPECT_FALSE(s.modeName);
    EXPECT_FALSE(s.strip);
    Lang::setForTesting(std::nullopt);
}

TEST(RoundButtons, VisibilityTitlesAndHelpByState)
{
    using B = RoundButtons;
    auto visible = [](const B &b) {
        QStringList out;
        const std::pair<const char *, const RoundButton *> all[] = {
            {"back", &b.back},         {"reset", &b.reset},       {"primary", &b.primary}, {"next", &b.next},
            {"putDown", &b.putDown},   {"complete", &b.complete}, {"encore", &b.encore},   {"again", &b.again}};
        for (const auto &[name, button] : all)
            if (button->visible)
                out << QString::fromLatin1(name);
        return out.join(QLatin1Char(' '));
    };
    struct Case
    {
        const char *name;
        B::Inputs in;
        const char *shown;
    };
    const std::optional<QString> linked = QStringLiteral("Letters");
    const Case cases[] = {
        {"running focus", {Mode::quick, Phase::focus, RunState::running, 0.2, false, false, linked},
         "back reset primary next"},
        {"paused focus, linked", {Mode::quick, Phase::focus, RunState::paused, 0.2, false, false, linked},
         "back reset primary next putDown complete"},
        {"walk of a quick run", {Mode::quick, Phase::shortBreak, RunState::running, 0.2, true, false, std::nullopt},
         "back reset primary next putDown encore"},
        {"walk of a clock run", {Mode::clock, Phase::shortBreak, RunState::running, 0.2, false, false, std::nullopt},
         "back reset primary next putDown"},
        {"finished, linked", {Mode::quick, Phase::shortBreak, RunState::finished, 1, false, false, linked},
         "back putDown complete again"},
        {"finished", {Mode::quick, Phase::shortBreak, RunState::finished, 1, false, false, std::nullopt},
         "back putDown again"},
    };
    Lang::setForTesting(false);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(visible(B::of(c.in)), QString::fromLatin1(c.shown));
    }

    // Texts in both languages; the tint follows the phase.
    B::Inputs walk{Mode::hour, Phase::shortBreak, RunState::paused, 0.5, true, false, linked};
    struct Texts
    {
        bool japanese;
        const char *back, *backHelp, *putDown, *putDownHelp, *complete, *completeHelp, *encore, *chosen;
    };
    for (const Texts &t :
         {Texts{false, "Back", "Choose again", "Let go", "Stop here and choose again (the time so far is recorded)",
                "Mark done", "Mark “Letters” as done", "Keep sitting", "Never mind"},
          Texts{true, "戻る", "選び直す", "手を離す", "ここまでにして、選び直す（時間はそのぶん記録されます）",
                "了とする", "「Letters」を終えたものにする", "つづけて坐る", "やめておく"}}) {
        Lang::setForTesting(t.japanese);
        B b = B::of(walk);
        EXPECT_EQ(b.back, (RoundButton{true, true, t.back, t.backHelp}));
        EXPECT_EQ(b.putDown, (RoundButton{true, true, t.putDown, t.putDownHelp}));
        EXPECT_EQ(b.complete, (RoundButton{true, true, t.complete, t.completeHelp}));
        EXPECT_EQ(b.encore.title, QString::fromUtf8(t.encore));
        EXPECT_FALSE(b.encoreChosen);
        EXPECT_EQ(b.primaryTint, B::Tint::moss);
        walk.encoreChosen = true;
        b = B::of(walk);
        EXPECT_EQ(b.encore.title, QString::fromUtf8(t.chosen));
        EXPECT_TRUE(b.encoreChosen);
        walk.encoreChosen = false;
    }
    EXPECT_EQ(B::of({Mode::hour, Phase::focus, RunState::idle, 0, false, false, std::nullopt}).primaryTint,
              B::Tint::indigo);
    Lang::setForTesting(std::nullopt);
}

struct TimerViewStateOnTheModel : InEnglish
{
};

TEST_F(TimerViewStateOnTheModel, ReadsTheRunTheLinkedTaskAndTheEncore)
{
    Rig rig;
    AppModel &model = rig.build();
    const TodoItem a = rig.addTask(QStringLiteral("A"));
    rig.addTask(QStringLiteral("B"));
    model.beginRounds({QStringLiteral("A"), QStringLiteral("B")});
    model.take(a);
    rig.engine().pause();

    TimerViewState s = TimerViewState::of(model);
    EXPECT_EQ(s.buttons.complete.toolTip, QStringLiteral("Mark “A” as done"));
    EXPECT_EQ(s.pausedHelp, model.pausedHelp());
    EXPECT_EQ(s.modeName, QStringLiteral("Junkō"));

    rig.engine().start();
    rig.finishPhase();
    s = TimerViewState::of(model);
    EXPECT_EQ(s.nextRoundTitle, QStringLiteral("B"));
    EXPECT_EQ(s.stayTitle, QStringLiteral("A"));
    EXPECT_FALSE(s.buttons.encore.visible); // rounds never take one more sitting

    // A quick run's walk offers the encore; choosing it turns the button and its line.
    rig.engine().begin(Mode::quick, false, {});
    rig.finishPhase();
    s = TimerViewState::of(model);
    ASSERT_TRUE(s.buttons.encore.visible);
    EXPECT_EQ(s.encoreLine, QStringLiteral("Decide now and it carries on without stopping"));
    rig.engine().toggleEncore();
    s = TimerViewState::of(model);
    EXPECT_TRUE(s.buttons.encoreChosen);
    EXPECT_EQ(s.buttons.encore.title, QStringLiteral("Never mind"));
    EXPECT_EQ(s.encoreLine, QStringLiteral("When the walk ends, the next sitting begins"));
}

} // namespace

namespace {

struct DwellChoicesTest : InEnglish
{
};

TEST_F(DwellChoicesTest, OffersTheRunsOpenTasksOnceOrOnlySaysItIsComplete)
{
    Rig rig;
    AppModel &model = rig.build();
    const TodoItem a = rig.addTask(QStringLiteral("A"));
    rig.addTask(QStringLiteral("B"));
    model.beginRounds({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A")});
    for (int step = 0; step < 5; ++step)
        rig.finishPhase();
    ASSERT_EQ(rig.engine().state(), RunState::finished);

    DwellChoices choices = DwellChoices::of(model);
    EXPECT_EQ(choices.heading, QStringLiteral("One round complete."));
    EXPECT_EQ(choices.question, QStringLiteral("Is there a task you’d like to stay with?"));
    EXPECT_EQ(choices.titles, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

    // Every task done during the run: the heading alone.
    for (const TodoItem &item : rig.hub->items())
        rig.hub->complete(item.ref);
    choices = DwellChoices::of(model);
    EXPECT_FALSE(choices.question);
    EXPECT_TRUE(choices.titles.isEmpty());
    (void)a;
}

} // namespace
