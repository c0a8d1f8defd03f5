#include "core/Glossary.h"
#include "support/JapaneseText.h"
#include "support/LanguageFixtures.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST_F(InJapanese, GlossaryLookupInJapanese)
{
    const QList<Glossary::Section> table = Glossary::build();
    const std::optional<GlossaryEntry> gyoji = Glossary::entry(table, QStringLiteral("行持"));
    ASSERT_TRUE(gyoji);
    EXPECT_EQ(*gyoji, table[0].entries[3]) << "the fourth entry of the first section";
    EXPECT_EQ(gyoji->term, QStringLiteral("行持"));
    EXPECT_EQ(gyoji->reading, QStringLiteral("ぎょうじ"));
    EXPECT_EQ(gyoji->place, QStringLiteral("いちばん上の右"));
    EXPECT_TRUE(gyoji->meaning.startsWith(QStringLiteral("日々の行いを途切れさせず持ち続けること。")));
    EXPECT_EQ(table[0].title, QStringLiteral("四つの画面"));
    // The readings are kana.
    for (const Glossary::Section &s : table)
        for (const GlossaryEntry &e : s.entries)
            EXPECT_TRUE(isKana(e.reading)) << e.key.toStdString() << " " << e.reading.toStdString();
}

TEST_F(InEnglish, GlossaryLookupInEnglish)
{
    const QList<Glossary::Section> table = Glossary::build();
    const std::optional<GlossaryEntry> gyoji = Glossary::entry(table, QStringLiteral("行持"));
    ASSERT_TRUE(gyoji);
    EXPECT_EQ(gyoji->term, QStringLiteral("Gyōji"));
    EXPECT_EQ(gyoji->reading, QStringLiteral("行持")) << "the Japanese word stands in the reading's place";
    EXPECT_EQ(gyoji->place, QStringLiteral("Top row, far right"));
    EXPECT_EQ(Glossary::entry(table, QStringLiteral("只管"))->term, QStringLiteral("Shikan"));
    const std::optional<GlossaryEntry> suikinkutsu = Glossary::entry(table, QStringLiteral("水琴窟"));
    ASSERT_TRUE(suikinkutsu);
    EXPECT_EQ(suikinkutsu->meaning, QStringLiteral("A buried jar where falling drops send back a clear ring"));
    // Keys are always the Japanese words, matched exactly.
    for (const char *stranger : {"", "Shikan", "只管 ", "行", "喜心"})
        EXPECT_FALSE(Glossary::entry(table, QString::fromUtf8(stranger))) << stranger;
}

TEST(Glossary, ShapeOfTheTable)
{
    const QList<Glossary::Section> &table = Glossary::sections();
    QList<int> sizes;
    QSet<QString> keys;
    int entries = 0;
    for (const Glossary::Section &s : table) {
        sizes << int(s.entries.size());
        for (const GlossaryEntry &e : s.entries) {
            keys.insert(e.key);
            ++entries;
            EXPECT_FALSE(e.detail.isEmpty()) << e.key.toStdString();
        }
    }
    EXPECT_EQ(sizes, (QList<int>{4, 8, 4, 4, 6}));
    EXPECT_EQ(keys.size(), entries) << "keys are distinct";
    QStringList first;
    for (const GlossaryEntry &e : table[0].entries)
        first << e.key;
    EXPECT_EQ(first, (QStringList{"只管", "作務", "一日", "行持"}));
    // The words other screens look up.
    for (const QString &key : {QStringLiteral("只管"), QStringLiteral("一日"), QStringLiteral("作務"),
                               QStringLiteral("行持"), QStringLiteral("喜心・老心・大心")})
        EXPECT_TRUE(Glossary::entry(key)) << key.toStdString();
}

// Every text of the glossary has its English; only the readings stay in
// Japanese (they show the Japanese word beside the English term).
TEST_F(InEnglish, GlossaryIsCompleteInEnglish)
{
    EXPECT_FALSE(hasJapanese(Glossary::heading()));
    EXPECT_FALSE(hasJapanese(Glossary::closingNote()));
    for (const Glossary::Section &s : Glossary::build()) {
        EXPECT_FALSE(hasJapanese(s.title)) << s.title.toStdString();
        for (const GlossaryEntry &e : s.entries) {
            SCOPED_TRACE(e.key.toStdString());
            for (const QString &text : {e.term, e.meaning, e.place, e.detail})
                EXPECT_FALSE(hasJapanese(text)) << text.toStdString();
            EXPECT_EQ(e.reading, e.key);
        }
    }
}

} // namespace
