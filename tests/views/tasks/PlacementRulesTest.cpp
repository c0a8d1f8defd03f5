#include "views/ViewTest.h"

#include "core/L.h"
#include "stores/LocalTask.h"
#include "views/tasks/ClosedRow.h"
#include "views/tasks/DueChipLine.h"
#include "views/tasks/PlaceChipLine.h"
#include "views/tasks/PlaceDay.h"
#include "views/tasks/PlaceMonth.h"
#include "views/tasks/TodoRowText.h"


namespace {

QDateTime at(int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2025, month, day), QTime(hour, minute));
}

struct PlacementRules : ViewTest
{
};

} // namespace

TEST_F(PlacementRules, DayValueIsNineHoursAfterTheStartOfTheDay)
{
    EXPECT_EQ(PlaceDay::day(0, at(3, 7, 23, 59)), at(3, 7, 9)) << "late in the evening still today";
    EXPECT_EQ(PlaceDay::day(1, at(3, 7, 23, 59)), at(3, 8, 9));
    EXPECT_EQ(PlaceDay::day(1, at(12, 31, 8)), QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    EXPECT_EQ(PlaceDay::of(at(3, 14, 17, 30)), at(3, 14, 9));
}

TEST_F(PlacementRules, ShortDatesAndDayLabels)
{
    EXPECT_EQ(PlaceDay::shortDate(at(3, 7, 9)), "3/7");
    EXPECT_EQ(PlaceDay::shortDate(at(12, 25, 9)), "12/25");
    const QDateTime now = at(3, 5, 18);
    EXPECT_EQ(PlaceDay::dayLabel(at(3, 5, 0), now), "今日");
    EXPECT_EQ(PlaceDay::dayLabel(at(3, 6, 23), now), "明日");
    EXPECT_EQ(PlaceDay::dayLabel(at(3, 14, 9), now), "3月14日");
    Lang::setForTesting(false);
    EXPECT_EQ(PlaceDay::dayLabel(at(3, 14, 9), now), "Mar 14");
    EXPECT_EQ(PlaceDay::dayLabel(at(3, 6, 9), now), "Tomorrow");
}

TEST_F(PlacementRules, PlaceChipsLightTheirDaysAndGatherTheOthers)
{
    const QDateTime now = at(3, 7, 12);
    struct Case
    {
        const char *what;
        QList<QDateTime> placed;
        bool today, tomorrow;
        QString other;
        int otherCount;
    };
    const QList<Case> cases = {
        {"nothing placed", {}, false, false, QString(), 0},
        {"today and in four days", {at(3, 7, 0), at(3, 11, 0)}, true, false, "3/11", 1},
        {"three days after tomorrow", {at(3, 14, 0), at(3, 20, 0), at(4, 2, 0)}, false, false, "3/14 ほか2日", 3},
        {"tomorrow, and a day already gone", {at(3, 1, 0), at(3, 8, 0)}, false, true, QString(), 0},
    };
    for (const Case &c : cases) {
        const PlaceChipLine line = PlaceChipLine::of(c.placed, now);
        EXPECT_EQ(line.todayLit, c.today) << c.what;
        EXPECT_EQ(line.tomorrowLit, c.tomorrow) << c.what;
        EXPECT_EQ(line.otherText, c.other) << c.what;
        EXPECT_EQ(line.otherCount, c.otherCount) << c.what;
        EXPECT_EQ(line.firstOther.has_value(), c.otherCount > 0) << c.what;
        EXPECT_EQ(line.todayText, "今日 3/7") << c.what;
        EXPECT_EQ(line.tomorrowText, "明日 3/8") << c.what;
        EXPECT_EQ(line.otherOpensCalendar(), c.otherCount >= 2) << c.what;
    }
    Lang::setForTesting(false);
    EXPECT_EQ(PlaceChipLine::of(cases[2].placed, now).otherText, "3/14 +2 more");
    EXPECT_EQ(PlaceChipLine::of({}, now).todayText, "Today 3/7");
}

TEST_F(PlacementRules, ExactlyOneDueChipIsLitWhereverTheDueDayFalls)
{
    using K = DueChip::Kind;
    const QDateTime now = at(3, 7, 18);
    struct Case
    {
        const char *what;
        std::optional<QDateTime> due;
        QList<K> kinds;
        K lit;
        QString otherText;
    };
    const QList<Case> cases = {
        {"no due date", std::nullopt, {K::today, K::tomorrow, K::calendar, K::none}, K::none, QString()},
        {"due yesterday", at(3, 6, 9), {K::earlier, K::today, K::tomorrow, K::calendar, K::none}, K::earlier, "3/6"},
        {"due today, hours ago", at(3, 7, 9), {K::today, K::tomorrow, K::calendar, K::none}, K::today, QString()},
        {"due tomorrow", at(3, 8, 9), {K::today, K::tomorrow, K::calendar, K::none}, K::tomorrow, QString()},
        {"due in a week", at(3, 14, 9), {K::today, K::tomorrow, K::later, K::calendar, K::none}, K::later, "3/14"},
    };
    for (const Case &c : cases) {
        const std::vector<DueChip> chips = DueChipLine::of(c.due, now);
        QList<K> kinds;
        int lit = 0;
        for (const DueChip &chip : chips) {
            kinds << chip.kind;
            if (chip.lit) {
                ++lit;
                EXPECT_EQ(chip.kind, c.lit) << c.what;
            }
            if (chip.kind == K::earlier || chip.kind == K::later) {
                EXPECT_EQ(chip.text, c.otherText) << c.what;
            }
        }
        EXPECT_EQ(kinds, c.kinds) << c.what;
        EXPECT_EQ(lit, 1) << c.what;
    }
}

TEST_F(PlacementRules, MonthGridStartsOnSundayWithBlanksBeforeTheFirst)
{
    // June 2025 begins on a Sunday, March 2025 on a Saturday.
    const QList<std::optional<QDate>> june = PlaceMonth::cells(PlaceMonth::firstOfMonth(at(6, 18, 10)));
    ASSERT_EQ(june.size(), 30);
    EXPECT_EQ(june.first(), QDate(2025, 6, 1));
    const QList<std::optional<QDate>> march = PlaceMonth::cells(PlaceMonth::firstOfMonth(at(3, 5, 10)));
    ASSERT_EQ(march.size(), 6 + 31);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(march[i].has_value());
    EXPECT_EQ(march[6], QDate(2025, 3, 1));
    EXPECT_EQ(march.last(), QDate(2025, 3, 31)) << "no blanks after the last day";

    const QDateTime now = at(3, 5, 10);
    const QDateTime thisMonth = PlaceMonth::firstOfMonth(now);
    EXPECT_EQ(thisMonth, QDateTime(QDate(2025, 3, 1), QTime(0, 0)));
    EXPECT_FALSE(PlaceMonth::canGoBack(thisMonth, now));
    EXPECT_TRUE(PlaceMonth::canGoBack(PlaceMonth::shift(thisMonth, 1), now));
    EXPECT_EQ(PlaceMonth::shift(thisMonth, 10), QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
    EXPECT_EQ(PlaceMonth::title(thisMonth), "2025年3月");
    EXPECT_EQ(PlaceMonth::weekdays(), (QStringList{"日", "月", "火", "水", "木", "金", "土"}));
    Lang::setForTesting(false);
    EXPECT_EQ(PlaceMonth::title(thisMonth), "Mar 2025");
    EXPECT_EQ(PlaceMonth::weekdays(), (QStringList{"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"}));
}

TEST_F(PlacementRules, SubtitleNamesListDueDayAndFirstPlacedDay)
{
    const QDateTime now = at(3, 5, 10);
    TodoItem reminder;
    reminder.ref = {"reminders", "r1", QStringLiteral("/lists/home")};
    reminder.listName = "Home";
    reminder.due = at(3, 14, 9);
    EXPECT_EQ(TodoRowText::subtitle(reminder, {}, now), "Home ・ 3月14日まで");

    TodoItem local;
    local.ref = {"local", QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(), std::nullopt};
    EXPECT_EQ(TodoRowText::subtitle(local, {}, now), "") << "nothing to tell";
    local.due = at(3, 5, 9);
    EXPECT_EQ(TodoRowText::subtitle(local, {at(3, 5, 0), at(3, 9, 0)}, now), "3月5日まで ・ 今日に置いた")
        << "a due date never reads as today; the first placed day does";

    Lang::setForTesting(false);
    EXPECT_EQ(TodoRowText::subtitle(reminder, {}, now), "Home ・ Due Mar 14");
    local.due.reset();
    EXPECT_EQ(TodoRowText::subtitle(local, {at(3, 6, 0)}, now), "Placed: Tomorrow");
}

TEST_F(PlacementRules, HelpTextAddsTheUserNoteButNotTheProgressLines)
{
    TodoItem item;
    item.ref = {"local", "x", std::nullopt};
    item.notes = QStringLiteral("⏱ 2025-03-04 集中2回 50分（Quillmere）");
    EXPECT_EQ(TodoRowText::helpText(item), "押すと、始める・いつまでに・置く");
    EXPECT_EQ(TodoRowText::noteHelp(item), "覚え書きを書く");
    item.notes = QStringLiteral("Ask Dana first\n⏱ 2025-03-04 集中2回 50分（Quillmere）");
    EXPECT_EQ(TodoRowText::helpText(item), "押すと、始める・いつまでに・置く\n\n覚え書き: Ask Dana first");
    EXPECT_EQ(TodoRowText::noteHelp(item), "覚え書きを直す");
    item.ref.source = "reminders";
    EXPECT_TRUE(TodoRowText::helpText(item).startsWith("押すと、始める・覚え書き（名前と期限は向こうで）\n\n"));
}

TEST_F(PlacementRules, ClosedLineShowsHowAndWhenTheTaskClosed)
{
    LocalTask finished = LocalTask::create("Paint the fence");
    finished.completedAt = at(12, 8, 15);
    EXPECT_EQ(ClosedRow::Look::of(finished), (ClosedRow::Look{false, true, "12月8日"}));
    LocalTask setDown = LocalTask::create("Learn the cello");
    setDown.abandonedAt = at(3, 2, 10);
    EXPECT_EQ(ClosedRow::Look::of(setDown), (ClosedRow::Look{true, false, "3月2日"}));
    LocalTask both = finished;
    both.abandonedAt = at(12, 9, 10);
    EXPECT_EQ(ClosedRow::Look::of(both), (ClosedRow::Look{true, false, "12月8日"}))
        << "set down for the mark, the completion day for the date";
    LocalTask undated = LocalTask::create("Old");
    undated.completedAt.reset();
    EXPECT_EQ(ClosedRow::Look::of(undated).date, "");
    Lang::setForTesting(false);
    EXPECT_EQ(ClosedRow::Look::of(finished).date, "Dec 8");
}
