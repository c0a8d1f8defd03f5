#include "core/AppSettings.h"
#include "platform/files/Preferences.h"
#include "support/JapaneseText.h"
#include "support/LanguageFixtures.h"
#include "support/ScopedDirs.h"
#include "views/reading/Intro.h"
#include "views/reading/IntroPager.h"

#include <gtest/gtest.h>

namespace {

TEST_F(InJapanese, IntroPagesInJapanese)
{
    const QList<Intro::Page> pages = Intro::build();
    ASSERT_EQ(pages.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pages[i].id, i);
    EXPECT_TRUE(pages[0].terms.isEmpty());
    EXPECT_TRUE(pages[2].terms.isEmpty());
    ASSERT_EQ(pages[1].terms.size(), 4);
    EXPECT_EQ(pages[1].terms[0], (Intro::Term{"作務", "さむ", "向き合うことを、決める"}));
    QStringList words;
    for (const Intro::Term &t : pages[1].terms) {
        words << t.word;
        EXPECT_TRUE(isKana(t.reading)) << t.reading.toStdString();
    }
    EXPECT_EQ(words, (QStringList{"作務", "行持", "一日", "只管"}));
    EXPECT_EQ(pages[0].heading, QStringLiteral("一日一日を、\n十二分に味わいきる"));
    EXPECT_TRUE(pages[2].body.startsWith(QStringLiteral("Ondrevel（オンドレヴェル）。\nひとつの行いに、")));
}

// Every text has its English; only the readings under the terms stay in
// Japanese (the Japanese word under its English rendering).
TEST_F(InEnglish, IntroPagesAreCompleteInEnglish)
{
    const QList<Intro::Page> pages = Intro::build();
    ASSERT_EQ(pages.size(), 3);
    for (const Intro::Page &p : pages) {
        EXPECT_FALSE(hasJapanese(p.heading)) << p.heading.toStdString();
        EXPECT_FALSE(hasJapanese(p.body)) << p.body.toStdString();
        for (const Intro::Term &t : p.terms) {
            EXPECT_FALSE(hasJapanese(t.word)) << t.word.toStdString();
            EXPECT_FALSE(hasJapanese(t.note)) << t.note.toStdString();
        }
    }
    EXPECT_EQ(pages[1].terms[0], (Intro::Term{"Samu", "作務", "Decide what to face"}));
    // Line breaks and empty lines are kept exactly.
    EXPECT_EQ(pages[0].heading, QStringLiteral("To savor\neach day to the full"));
    EXPECT_EQ(pages[0].body, QStringLiteral("That is what this tool is for.\nNot to get more done,\nnor to fill every "
                                            "spare moment.\n\nA day savored to the full\nis something other "
                                            "than\na day of clearing tasks."));
    EXPECT_TRUE(pages[2].body.startsWith(QStringLiteral("Ondrevel.\nTo enter one act, body and mind.\n\n")));
    for (const QString &label : {IntroPager::backLabel(), IntroPager::skipLabel(), IntroPager(3).mainLabel()})
        EXPECT_FALSE(hasJapanese(label)) << label.toStdString();
}

// The English pages break their lines and paragraphs where the Japanese do.
TEST(Intro, EnglishKeepsTheLinesAndParagraphsOfTheJapanese)
{
    auto shape = [](const QString &text) {
        QList<int> out; // the length class of each line: 0 empty, 1 not
        for (const QString &line : text.split(QLatin1Char('\n')))
            out << (line.isEmpty() ? 0 : 1);
        return out;
    };
    Lang::setForTesting(true);
    const QList<Intro::Page> japanese = Intro::build();
    Lang::setForTesting(false);
    const QList<Intro::Page> english = Intro::build();
    Lang::setForTesting(std::nullopt);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shape(english[i].heading), shape(japanese[i].heading));
        EXPECT_EQ(shape(english[i].body), shape(japanese[i].body));
    }
}

// Where the pager stands after each input, from a fresh pager, and whether
// it finished: the pages run 0 → 2, never past either end, and only Begin
// and Skip finish.
TEST_F(InEnglish, IntroPagerOrderAndBounds)
{
    enum Input { next, back, skip, swipeLeft, swipeRight, swipeShort, arrowLeft, arrowRight };
    const struct
    {
        const char *name;
        std::vector<Input> inputs;
        int page;
        int finished;
    } cases[] = {
        {"fresh", {}, 0, 0},
        {"next twice", {next, next}, 2, 0},
        {"begin on the last page", {next, next, next}, 2, 1},
        {"begin twice", {next, next, next, next}, 2, 2},
        {"back on the first page", {back}, 0, 0},
        {"back from the middle", {next, back}, 0, 0},
        {"skip from the first page", {skip}, 0, 1},
        {"skip from the middle", {next, skip}, 1, 1},
        {"swipes walk both ways", {swipeLeft, swipeLeft, swipeRight}, 1, 0},
        {"no swipe past the last", {swipeLeft, swipeLeft, swipeLeft, swipeLeft}, 2, 0},
        {"no swipe before the first", {swipeRight}, 0, 0},
        {"exactly 40 points is no swipe", {swipeShort}, 0, 0},
        {"arrows walk and stop at the ends", {arrowRight, arrowRight, arrowRight, arrowLeft}, 1, 0},
        {"arrows never finish", {arrowLeft, arrowRight, arrowRight, arrowRight}, 2, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        int finished = 0;
        IntroPager pager(3, [&] { ++finished; });
        for (Input input : c.inputs) {
            switch (input) {
            case next: pager.advance(); break;
            case back: pager.go(-1); break;
            case skip: pager.skip(); break;
            case swipeLeft: pager.swipe(-41); break;
            case swipeRight: pager.swipe(41); break;
            case swipeShort: pager.swipe(-40), pager.swipe(40); break;
            case arrowLeft: EXPECT_TRUE(pager.arrowKey(-1)); break;
            case arrowRight: EXPECT_TRUE(pager.arrowKey(+1)); break;
            }
        }
        EXPECT_EQ(pager.current(), c.page);
        EXPECT_EQ(finished, c.finished);
    }
}

TEST_F(InEnglish, IntroPagerButtonsAndDotsFollowThePage)
{
    const struct
    {
        int page;
        bool back;
        const char *main;
        bool skip;
    } cases[] = {{0, false, "Next", true}, {1, true, "Next", true}, {2, true, "Begin", false}};
    IntroPager pager(3);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        pager.setForced(c.page);
        EXPECT_EQ(pager.backShown(), c.back);
        EXPECT_EQ(pager.mainLabel(), QString::fromUtf8(c.main));
        EXPECT_EQ(pager.skipShown(), c.skip);
        for (int dot = 0; dot < 3; ++dot)
            EXPECT_EQ(pager.dotIsCurrent(dot), dot == c.page);
    }
}

TEST(IntroPager, AForcedPageShowsWhateverTheInputsDo)
{
    IntroPager pager(3);
    pager.setForced(1);
    EXPECT_FALSE(pager.go(+1)) << "the forced page stays";
    EXPECT_EQ(pager.current(), 1);
    pager.setForced(std::nullopt);
    EXPECT_EQ(pager.current(), 2) << "the input moved on from the forced page";
}

// The main window shows the introduction until it is finished once; the
// settings can bring it back, and it starts again at its first page.
TEST(IntroPager, SeenFlag)
{
    ScopedDirs dirs;
    Preferences prefs;
    AppSettings settings(prefs);
    EXPECT_TRUE(IntroPager::showsIntro(settings, false));
    EXPECT_FALSE(IntroPager::showsIntro(settings, true)) << "still pictures show the main window";

    IntroPager first(3, IntroPager::finishInto(settings));
    first.advance();
    EXPECT_TRUE(IntroPager::showsIntro(settings, false)) << "moving through the pages finishes nothing";
    first.skip();
    EXPECT_FALSE(IntroPager::showsIntro(settings, false));
    EXPECT_TRUE(AppSettings(prefs).hasSeenIntro()) << "kept in the preferences";

    settings.setHasSeenIntro(false);
    EXPECT_TRUE(IntroPager::showsIntro(settings, false));
    IntroPager again(3, IntroPager::finishInto(settings));
    EXPECT_EQ(again.current(), 0);
    again.advance();
    again.advance();
    again.advance();
    EXPECT_TRUE(settings.hasSeenIntro());
}

} // namespace
