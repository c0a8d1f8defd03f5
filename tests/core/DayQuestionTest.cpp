#include "core/DayQuestion.h"
#include "support/LanguageFixtures.h"

#include <gtest/gtest.h>

TEST_F(InEnglish, DayQuestionExamplesInEnglish)
{
    EXPECT_EQ(DayQuestion::buildMorningExamples(),
              (QStringList{"Don’t rush", "Listen well to others", "One thing at a time", "Reply once I’ve settled",
                           "When eating, just eat", "Sit up straight", "Notice what went well"}));
    EXPECT_EQ(DayQuestion::buildEveningExamples(),
              (QStringList{"Laughed with a friend", "More tired than I thought", "The evening breeze felt good",
                           "The miso soup at lunch was good", "Said too much in a hurry", "Wrote it through to the end",
                           "The sky was beautiful"}));
}

TEST_F(InJapanese, DayQuestionExamplesInJapanese)
{
    const QStringList morning = DayQuestion::buildMorningExamples();
    const QStringList evening = DayQuestion::buildEveningExamples();
    ASSERT_EQ(morning.size(), 7);
    ASSERT_EQ(evening.size(), 7);
    EXPECT_EQ(morning.first(), QStringLiteral("急がない"));
    EXPECT_EQ(evening.last(), QStringLiteral("空がきれいだった"));
}
