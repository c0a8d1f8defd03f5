#include "support/JapaneseText.h"
#include "support/LanguageFixtures.h"
#include "support/ScopedAddresses.h"
#include "views/reading/HowTo.h"

#include <gtest/gtest.h>

namespace {

TEST_F(InJapanese, HowToSectionsInJapanese)
{
    const QList<HowTo::Section> sections = HowTo::build();
    QList<int> sizes;
    QStringList titles;
    for (const HowTo::Section &s : sections) {
        sizes << int(s.lines.size());
        titles << s.title;
        EXPECT_FALSE(s.link && s.web) << "no section has both buttons";
    }
    EXPECT_EQ(sizes, (QList<int>{4, 4, 7, 9, 2, 2}));
    EXPECT_EQ(titles, (QStringList{"四つの頁", "一　作務と行持を書く", "二　一日を書く", "三　只管で向かう",
                                   "四　四九日（しくにち）", "ほかの台でも"}));
    EXPECT_EQ(sections[2].link, QStringLiteral("カレンダーとつなぐ（設定を開く）"));
    EXPECT_EQ(sections[5].web, QStringLiteral("案内の頁をひらく"));
    EXPECT_EQ(sections[5].lines.first(), QStringLiteral("同じものが動く台が、ほかにもあります"));
    EXPECT_EQ(HowTo::bullet(), QStringLiteral("・"));
}

TEST_F(InEnglish, HowToIsCompleteInEnglish)
{
    const QList<HowTo::Section> sections = HowTo::build();
    int lines = 0;
    for (const HowTo::Section &s : sections) {
        EXPECT_FALSE(hasJapanese(s.title)) << s.title.toStdString();
        for (const QString &line : s.lines) {
            EXPECT_FALSE(hasJapanese(line)) << line.toStdString();
            ++lines;
        }
        for (const std::optional<QString> &button : {s.link, s.web}) {
            if (button) {
                EXPECT_FALSE(hasJapanese(*button)) << button->toStdString();
            }
        }
    }
    EXPECT_EQ(lines, 28);
    EXPECT_EQ(sections[1].title, QStringLiteral("1  Write tasks and practices"));
    EXPECT_EQ(sections[2].link, QStringLiteral("Connect a calendar (open Settings)"));
    EXPECT_EQ(sections[5].web, QStringLiteral("Open the website"));
    EXPECT_FALSE(hasJapanese(HowTo::heading()));
}

TEST(HowToSite, TheSiteIsTheBuildsWebPage)
{
    {
        ScopedAddresses none{ProjectAddresses{}};
        EXPECT_TRUE(HowTo::siteURL().isEmpty());
    }
    ScopedAddresses local;
    EXPECT_EQ(HowTo::siteURL(), ScopedAddresses::local().webPage);
}

} // namespace
