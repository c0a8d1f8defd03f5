#include "core/TaskSource.h"

#include <gtest/gtest.h>

namespace {
TaskProgress progressOn(int day, int sessions, int minutes)
{
    return TaskProgress{QDateTime(QDate(2025, 3, day), QTime(15, 0)), sessions, minutes};
}
const QString kLine4 = QStringLiteral("⏱ 2025-03-04 集中3回 75分（Quillmere）");
} // namespace

TEST(ProgressNote, LineForm)
{
    EXPECT_EQ(ProgressNote::line(progressOn(4, 3, 75)), kLine4);
}

TEST(ProgressNote, MergeReplacesTheDaysLineOrAppends)
{
    struct Case
    {
        const char *name;
        std::optional<QString> notes;
        QString expected;
    };
    const Case cases[] = {
        {"nil", std::nullopt, kLine4},
        {"empty", QString(), kLine4},
        {"only line feeds", QStringLiteral("\n\n\n"), kLine4},
        {"trailing blank lines dropped", QStringLiteral("buy milk\n\n  "), QStringLiteral("buy milk\n") + kLine4},
        {"tabs and ideographic spaces are blank", QStringLiteral("buy milk\n\t\u3000\u00A0"),
         QStringLiteral("buy milk\n") + kLine4},
        {"a line separator is not blank", QStringLiteral("buy milk\n\u2028"),
         QStringLiteral("buy milk\n\u2028\n") + kLine4},
        {"nor a vertical tab", QStringLiteral("buy milk\n\v"), QStringLiteral("buy milk\n\v\n") + kLine4},
        {"same day replaced in place",
         QStringLiteral("a\n⏱ 2025-03-04 集中1回 25分（Quillmere）\nb"), QStringLiteral("a\n") + kLine4 + "\nb"},
        {"only the first of two lines for the day",
         QStringLiteral("⏱ 2025-03-04 集中1回 25分（Quillmere）\n⏱ 2025-03-04 集中2回 50分（Quillmere）"),
         kLine4 + QStringLiteral("\n⏱ 2025-03-04 集中2回 50分（Quillmere）")},
        {"other day kept, new line at the end", QStringLiteral("⏱ 2025-03-03 集中1回 25分（Quillmere）"),
         QStringLiteral("⏱ 2025-03-03 集中1回 25分（Quillmere）\n") + kLine4},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ProgressNote::merged(c.notes, progressOn(4, 3, 75)), c.expected) << c.name;
}

TEST(ProgressNote, UserTextAndReplacement)
{
    const QString notes = QStringLiteral("　draft outline \n⏱ 2025-03-03 集中1回 25分（Quillmere）\n⏱typed by me\n");
    EXPECT_EQ(ProgressNote::userText(notes), QStringLiteral("draft outline"));
    EXPECT_EQ(ProgressNote::userText(std::nullopt), QString());

    EXPECT_EQ(ProgressNote::replacingUserText(QStringLiteral(" new text\u3000"), notes),
              QStringLiteral("new text\n⏱ 2025-03-03 集中1回 25分（Quillmere）\n⏱typed by me"));
    EXPECT_EQ(ProgressNote::replacingUserText(QStringLiteral("  \n"), QStringLiteral("just words")), std::nullopt);
    EXPECT_EQ(ProgressNote::replacingUserText(QStringLiteral(" "), notes),
              QStringLiteral("⏱ 2025-03-03 集中1回 25分（Quillmere）\n⏱typed by me"));
}

TEST(ProgressNote, DayStringIsTheLocalDay)
{
    const QDateTime justAfterMidnight(QDate(2025, 3, 4), QTime(0, 0, 1));
    EXPECT_EQ(ProgressNote::dayString(justAfterMidnight), QStringLiteral("2025-03-04"));
    EXPECT_EQ(ProgressNote::dayString(justAfterMidnight.toUTC()), QStringLiteral("2025-03-04"));
}
