#include "support/LanguageFixtures.h"
#include "views/tasks/UndatedFoldRow.h"

#include <gtest/gtest.h>

namespace {

TEST(UndatedFoldRow, HiddenBelowOneElseCountAndLabelByOpenState)
{
    for (int count : {0, -3})
        EXPECT_FALSE(UndatedFoldRow::of(count, false).visible);

    struct Case
    {
        bool japanese;
        bool open;
        const char *text;
        const char *label;
    };
    for (const Case &c : {Case{false, false, "No date  12", "Show 12 undated items"},
                          Case{false, true, "No date  12", "Fold away undated items"},
                          Case{true, false, "日を決めない　12", "日を決めないものを12件開く"},
                          Case{true, true, "日を決めない　12", "日を決めないものを畳む"}}) {
        Lang::setForTesting(c.japanese);
        const UndatedFoldRow row = UndatedFoldRow::of(12, c.open);
        EXPECT_TRUE(row.visible);
        EXPECT_EQ(row.open, c.open);
        EXPECT_EQ(row.text, QString::fromUtf8(c.text));
        EXPECT_EQ(row.accessibleName, QString::fromUtf8(c.label));
    }
    Lang::setForTesting(std::nullopt);
}

} // namespace
