#include "core/AppSettings.h"
#include "platform/files/Preferences.h"
#include "support/LanguageFixtures.h"
#include "support/ScopedDirs.h"
#include "views/timer/ModeCard.h"

#include <gtest/gtest.h>

namespace {

struct ModeCardTest : ::testing::Test
{
    ScopedDirs dirs;
    Preferences prefs;
    AppSettings settings{prefs};
    void TearDown() override { Lang::setForTesting(std::nullopt); }
};

TEST_F(ModeCardTest, SixCardsInOrderWithTheirTextsInBothLanguages)
{
    // The user's own minutes change none of the spans.
    settings.setFocusMinutes(40);
    settings.setShortBreakMinutes(7);
    settings.setChoreMinutes(15);

    struct Card
    {
        Mode mode;
        const char *name, *span, *detail, *accessible;
    };
    const Card english[] = {
        {Mode::open, "Ninnun", "Open", "ninnun · no set time — until you stop", "Begin Ninnun"},
        {Mode::chore, "Shōza", "10 min", "shōza · settle in briefly. One reply, one tidy-up", "Begin Shōza"},
        {Mode::quick, "Ichiza", "30 min", "ichiza · settle in: sit 25 min, then 5 min of kinhin", "Begin Ichiza"},
        {Mode::hour, "Itchū", "1 hr", "itchū · one stick of incense: sit 50 min, then 10 min of kinhin", "Begin Itchū"},
        {Mode::clock, "Jōjū", "Ongoing", "jōjū · follow the clock. Sit 25 min from :00 and :30; the rest is kinhin.",
         "Begin Jōjū"},
        {Mode::rounds, "Junkō", "10 min each",
         "junkō · go round your tasks one by one. When one is done, on to the next", "Begin Junkō"},
    };
    const Card japanese[] = {
        {Mode::open, "任運", "決めない", "にんぬん ・ 時を決めず、やめるまで", "任運ではじめる"},
        {Mode::chore, "小坐", "10分", "しょうざ ・ 短く腰を据える。返信や片づけをひとつ", "小坐ではじめる"},
        {Mode::quick, "一坐", "30分", "いちざ ・ 腰を据えて、25分坐って 5分の経行", "一坐ではじめる"},
        {Mode::hour, "一炷", "1時間", "いっちゅう ・ 線香一本ぶん。50分坐って、10分の経行", "一炷ではじめる"},
        {Mode::clock, "常住", "続くかぎり", "じょうじゅう ・ 時計のとおりに。毎時0分と30分から25分坐り、残りは経行。",
         "常住ではじめる"},
        {Mode::rounds, "巡香", "ひとつ10分", "じゅんこう ・ 作務をひとつずつ巡る。済めば次へ", "巡香ではじめる"},
    };
    for (bool inJapanese : {false, true}) {
        Lang::setForTesting(inJapanese);
        const QList<ModeCard> cards = ModeCard::all(settings);
        ASSERT_EQ(cards.size(), 6);
        for (int i = 0; i < 6; ++i) {
            const Card &want = inJapanese ? japanese[i] : english[i];
            const ModeCard &card = cards.at(i);
            SCOPED_TRACE(want.name);
            EXPECT_EQ(card.mode, want.mode);
            EXPECT_EQ(card.name, QString::fromUtf8(want.name));
            EXPECT_EQ(card.span, QString::fromUtf8(want.span));
            EXPECT_EQ(card.detail, QString::fromUtf8(want.detail));
            EXPECT_EQ(card.accessibleName, QString::fromUtf8(want.accessible));
            EXPECT_EQ(card.setApart, want.mode == Mode::clock);
            EXPECT_EQ(card.opensRoundsPicker, want.mode == Mode::rounds);
            EXPECT_FALSE(card.strip.current);
        }
    }
}

TEST_F(ModeCardTest, StripsAndWholeRunLengths)
{
    const QList<ModeCard> cards = ModeCard::all(settings);
    EXPECT_EQ(cards.at(0).strip, (RhythmPlan{{Phase::focus}, false, true, std::nullopt}));
    EXPECT_EQ(cards.at(3).strip, (RhythmPlan{{Phase::focus, Phase::shortBreak}, false, false, std::nullopt}));
    EXPECT_EQ(cards.at(5).strip.phases.size(), 5);
    EXPECT_TRUE(cards.at(4).strip.endless);
    EXPECT_TRUE(cards.at(5).strip.endless);

    const std::pair<Mode, std::optional<double>> lengths[] = {
        {Mode::open, std::nullopt}, {Mode::chore, 600.0}, {Mode::quick, 1800.0},
        {Mode::hour, 3600.0},       {Mode::clock, std::nullopt}, {Mode::rounds, std::nullopt}};
    for (const auto &[mode, seconds] : lengths)
        EXPECT_EQ(ModeCard::totalDuration(mode, settings), seconds) << rawValue(mode).toStdString();
}

} // namespace
