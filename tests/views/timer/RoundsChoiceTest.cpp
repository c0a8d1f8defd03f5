#include "model/ModelRig.h"
#include "support/LanguageFixtures.h"
#include "views/timer/RoundsChoice.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;

struct RoundsChoiceTest : InEnglish
{
};

QString marks(const RoundsChoice &choice, const QStringList &rows)
{
    QStringList out;
    for (const QString &row : rows)
        out << (choice.position(row) ? QString::number(*choice.position(row)) : QStringLiteral("·"));
    return out.join(QLatin1Char(' '));
}

TEST_F(RoundsChoiceTest, OrderMarksAndSummaryFollowTheClicks)
{
    const QStringList rows = {"A", "B", "C"};
    RoundsChoice choice;
    EXPECT_EQ(choice.summary(), QStringLiteral("Nothing chosen yet"));
    EXPECT_FALSE(choice.canConfirm());

    for (const QString &row : rows)
        choice.toggle(row);
    EXPECT_EQ(marks(choice, rows), QStringLiteral("1 2 3"));
    EXPECT_EQ(choice.summary(), QStringLiteral("3 · about 32 min"));

    choice.toggle(QStringLiteral("B"));
    EXPECT_EQ(marks(choice, rows), QStringLiteral("1 · 2"));
    EXPECT_EQ(choice.summary(), QStringLiteral("2 · about 21 min"));
    choice.toggle(QStringLiteral("B"));
    EXPECT_EQ(marks(choice, rows), QStringLiteral("1 3 2"));

    Lang::setForTesting(true);
    EXPECT_EQ(choice.summary(), QStringLiteral("3つ ・ およそ 32分"));
    EXPECT_EQ(RoundsChoice::explanation(),
              QStringLiteral("選んだ順に、10分ずつ。あいだに 1分。\n早く済んだら「了とする」か「手を離す」で次へ回ります。"));
}

TEST_F(RoundsChoiceTest, SpanInMinutesHoursAndWholeHours)
{
    struct Case
    {
        int rounds;
        int minutes;
        const char *span;
    };
    for (const Case &c : {Case{0, 0, "0 min"}, Case{1, 10, "10 min"}, Case{6, 65, "1 hr 5 min"}, Case{11, 120, "2 hr"}}) {
        RoundsChoice choice;
        for (int i = 0; i < c.rounds; ++i)
            choice.toggle(QString::number(i));
        EXPECT_EQ(RoundsChoice::minutes(c.rounds), c.minutes);
        EXPECT_EQ(choice.span(), QString::fromLatin1(c.span)) << c.rounds;
    }
}

TEST_F(RoundsChoiceTest, TitlesThatDifferOnlyByEndBlanksAreOneChoice)
{
    // Two rows of one title (a task and a practice, or a task whose source
    // wrote blanks around its title) are chosen and unchosen together.
    const QStringList rows = {"Letters", " Letters ", "Walk"};
    RoundsChoice choice;
    choice.toggle(QStringLiteral("Walk"));
    choice.toggle(QStringLiteral(" Letters "));
    EXPECT_EQ(marks(choice, rows), QStringLiteral("2 2 1"));
    choice.toggle(QStringLiteral("Letters"));
    EXPECT_EQ(marks(choice, rows), QStringLiteral("· · 1"));
    EXPECT_EQ(choice.chosen(), QStringList{QStringLiteral("Walk")});
}

TEST_F(RoundsChoiceTest, ConfirmNeedsATitleThatIsNotBlankAndBeginsTheTrimmedRun)
{
    Rig rig;
    AppModel &model = rig.build();
    RoundsChoice choice;
    choice.toggle(QStringLiteral("  "));
    EXPECT_EQ(choice.summary(), QStringLiteral("1 · about 10 min"));
    EXPECT_FALSE(choice.canConfirm());

    choice.toggle(QStringLiteral(" A "));
    EXPECT_TRUE(choice.canConfirm());
    choice.confirm(model);
    EXPECT_EQ(rig.engine().mode(), Mode::rounds);
    EXPECT_EQ(rig.engine().rounds(), QStringList{QStringLiteral("A")});
}

} // namespace
