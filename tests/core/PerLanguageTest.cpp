// Fixed texts that are kept once looked up follow a switch of the interface
// language within one run (still pictures show both languages).
#include "core/DayQuestion.h"
#include "core/Glossary.h"
#include "core/L.h"
#include "sources/TodoOrder.h"
#include "stores/Counsel.h"

#include <gtest/gtest.h>
#include <functional>

namespace {

struct KeptText
{
    const char *name;
    std::function<QString()> text;
    const char *japanese;
};

TEST(PerLanguageTest, KeptTextsAreLookedUpAgainInTheOtherLanguage)
{
    const KeptText texts[] = {
        {"advice title", [] { return Counsel::title(); }, "AI に聞いてもらう"},
        {"morning question", [] { return DayQuestion::morning(); }, "今日、大切にすること。"},
        {"group title", [] { return TodoOrder::groupTitle(3); }, "日を決めない"},
        {"glossary section", [] { return Glossary::sections().value(0).title; }, nullptr},
        {"first example", [] { return DayQuestion::morningExamples().value(0); }, nullptr},
    };
    for (const KeptText &t : texts) {
        SCOPED_TRACE(t.name);
        Lang::setForTesting(true);
        const QString japanese = t.text();
        if (t.japanese) {
            EXPECT_EQ(japanese, QString::fromUtf8(t.japanese));
        }
        Lang::setForTesting(false);
        const QString english = t.text();
        EXPECT_FALSE(english.isEmpty());
        EXPECT_NE(english, japanese);
        Lang::setForTesting(true);
        EXPECT_EQ(t.text(), japanese);
    }
    Lang::setForTesting(std::nullopt);
}

} // namespace
