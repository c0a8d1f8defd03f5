// Sweep days, the suggestions' starting point, and quiet tasks.
#include "StoreFixture.h"

#include "core/L.h"
#include "stores/Counsel.h"
#include "stores/Shikunichi.h"
#include "stores/Sweep.h"
#include "stores/Totonoe.h"

namespace {

class SweepTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        Lang::setForTesting(true);
    }
    void TearDown() override
    {
        Lang::setForTesting(std::nullopt);
        StoreFixture::TearDown();
    }

    // A task made and last changed at the given time.
    static LocalTask task(const QString &title, const QDateTime &touched)
    {
        LocalTask t;
        t.id = QUuid::createUuid();
        t.title = title;
        t.createdAt = touched;
        t.updatedAt = touched;
        return t;
    }
};

TEST_F(SweepTest, NextAndPreviousSweepDays)
{
    struct Case
    {
        QDateTime date;
        QDate next;
        QDate previous;
    };
    const Case cases[] = {
        {at(2025, 3, 29, 23, 59), QDate(2025, 4, 4), QDate(2025, 3, 24)},
        {at(2025, 2, 24, 12), QDate(2025, 3, 4), QDate(2025, 2, 19)},
        {at(2024, 2, 24, 12), QDate(2024, 2, 29), QDate(2024, 2, 19)},
        {at(2025, 3, 3, 6), QDate(2025, 3, 4), QDate(2025, 2, 24)},
        {at(2025, 3, 4, 6), QDate(2025, 3, 9), QDate(2025, 2, 24)},
        {at(2025, 3, 9, 0, 0), QDate(2025, 3, 14), QDate(2025, 3, 4)},
        {at(2025, 4, 1), QDate(2025, 4, 4), QDate(2025, 3, 29)},
        {at(2024, 3, 1), QDate(2024, 3, 4), QDate(2024, 2, 29)},
        {at(2025, 12, 31, 23, 30), QDate(2026, 1, 4), QDate(2025, 12, 29)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(Shikunichi::next(c.date), c.next.startOfDay());
        EXPECT_EQ(Shikunichi::previous(c.date), c.previous.startOfDay());
    }
}

TEST_F(SweepTest, SweepDaysAcrossADaylightSavingChange)
{
    const QTimeZone berlin("Europe/Berlin");
    if (!berlin.isValid())
        GTEST_SKIP() << "no time zone data";
    // Clocks went forward on 30 March 2025 in Berlin.
    const QDateTime late(QDate(2025, 3, 29), QTime(23, 30), berlin);
    EXPECT_EQ(Shikunichi::next(late, berlin), QDateTime(QDate(2025, 4, 4), QTime(0, 0), berlin));
    EXPECT_EQ(Shikunichi::previous(QDateTime(QDate(2025, 4, 3), QTime(0, 30), berlin), berlin),
              QDateTime(QDate(2025, 3, 29), QTime(0, 0), berlin));
}

TEST_F(SweepTest, ClosingTextAndStaticTexts)
{
    EXPECT_EQ(Shikunichi::closing(at(2025, 3, 14, 20)), QStringLiteral("今日は、整える日です。"));
    EXPECT_TRUE(Shikunichi::closing(at(2025, 3, 15, 20)).startsWith(QStringLiteral("今日は四九日ではありません。")));
    EXPECT_EQ(Shikunichi::explanation().count(QLatin1Char('\n')), 2);
    EXPECT_EQ(Totonoe::labels().size(), Totonoe::numerals().size());
    EXPECT_EQ(Totonoe::surroundings().size(), 10);
    EXPECT_EQ(Totonoe::oneself().size(), 8);
    EXPECT_EQ(Counsel::title(), QStringLiteral("AI に聞いてもらう"));
}

TEST_F(SweepTest, SuggestionsStartFromTheDayOfTheYear)
{
    struct Case
    {
        int count;
        QDate day;
        int start;
    };
    const Case cases[] = {
        {10, QDate(2025, 1, 1), 1}, {10, QDate(2025, 1, 10), 0}, {8, QDate(2025, 12, 31), 365 % 8},
        {0, QDate(2025, 6, 1), 0},  {1, QDate(2025, 6, 1), 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Totonoe::start(c.count, c.day.startOfDay().addSecs(3600)), c.start) << c.day.toString().toStdString();
}

TEST_F(SweepTest, WhichTasksAreQuiet)
{
    const QDateTime now = at(2025, 6, 20, 14);
    struct Case
    {
        const char *name;
        std::function<void(LocalTask &)> shape;
        bool quiet;
    };
    const Case cases[] = {
        {"due yesterday, touched today", [&](LocalTask &t) { t.due = at(2025, 6, 19, 23); }, true},
        {"due today", [&](LocalTask &t) { t.due = at(2025, 6, 20, 0); }, false},
        {"touched eleven days ago", [&](LocalTask &t) { t.createdAt = t.updatedAt = at(2025, 6, 9, 14); }, true},
        {"touched exactly ten days before today's start",
         [&](LocalTask &t) { t.createdAt = t.updatedAt = at(2025, 6, 10, 0); }, false},
        {"past due but reviewed nine days ago",
         [&](LocalTask &t) {
             t.due = at(2025, 6, 1);
             t.reviewedAt = at(2025, 6, 11, 9);
         },
         false},
        {"reviewed eleven days ago and untouched since",
         [&](LocalTask &t) {
             t.createdAt = t.updatedAt = at(2025, 5, 1);
             t.reviewedAt = at(2025, 6, 9, 9);
         },
         true},
        {"a someday task counts", [&](LocalTask &t) {
             t.isSomeday = true;
             t.createdAt = t.updatedAt = at(2025, 5, 1);
         }, true},
        {"a daily practice never", [&](LocalTask &t) {
             t.isDaily = true;
             t.due = at(2025, 6, 1);
         }, false},
        {"a completed task never", [&](LocalTask &t) {
             t.completedAt = at(2025, 6, 2);
             t.due = at(2025, 6, 1);
         }, false},
        {"a set-aside task never", [&](LocalTask &t) {
             t.abandonedAt = at(2025, 6, 2);
             t.due = at(2025, 6, 1);
         }, false},
        {"a deleted task never", [&](LocalTask &t) {
             t.deletedAt = at(2025, 6, 2);
             t.due = at(2025, 6, 1);
         }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LocalTask t = task("t", now);
        c.shape(t);
        EXPECT_EQ(Sweep::quiet({t}, now, 7).size(), c.quiet ? 1 : 0);
    }
}

TEST_F(SweepTest, QuietTasksOldestFirstUpToTheLimit)
{
    const QDateTime now = at(2025, 6, 20, 14);
    QList<LocalTask> tasks;
    // Twelve quiet tasks, touched on 1..12 May in a shuffled order, plus two
    // touched at the same moment to show ties keep their order.
    for (int day : {5, 3, 12, 1, 9, 7, 11, 2, 8, 10, 4, 6})
        tasks << task(QStringLiteral("may %1").arg(day), at(2025, 5, day));
    tasks << task("tie a", at(2025, 4, 30)) << task("tie b", at(2025, 4, 30));
    QStringList titles;
    for (const LocalTask &t : Sweep::quiet(tasks, now, 7))
        titles << t.title;
    EXPECT_EQ(titles, (QStringList{"tie a", "tie b", "may 1", "may 2", "may 3", "may 4", "may 5"}));
    EXPECT_TRUE(Sweep::quiet(tasks, now, 0).isEmpty());
}

TEST_F(SweepTest, Reasons)
{
    const QDateTime now = at(2025, 6, 20, 14);
    struct Case
    {
        const char *name;
        std::function<void(LocalTask &)> shape;
        QString text;
    };
    const Case cases[] = {
        {"due three days ago, late in the day", [&](LocalTask &t) { t.due = at(2025, 6, 17, 23, 30); },
         QStringLiteral("期限を 3 日過ぎています")},
        {"touched 12 days ago at 15:00: 11 days and 9 hours",
         [&](LocalTask &t) { t.createdAt = t.updatedAt = at(2025, 6, 8, 15); }, QStringLiteral("11 日、触れていません")},
        {"a review counts as a touch",
         [&](LocalTask &t) {
             t.createdAt = t.updatedAt = at(2025, 5, 1);
             t.reviewedAt = at(2025, 6, 15, 9);
         },
         QStringLiteral("4 日、触れていません")},
        {"a touch in the future counts as today",
         [&](LocalTask &t) { t.createdAt = t.updatedAt = at(2025, 6, 25); }, QStringLiteral("0 日、触れていません")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LocalTask t = task("t", now);
        c.shape(t);
        EXPECT_EQ(Sweep::reason(t, now), c.text);
    }
}

TEST_F(SweepTest, ReasonCountsCalendarDaysAcrossADaylightSavingChange)
{
    const QTimeZone berlin("Europe/Berlin");
    if (!berlin.isValid())
        GTEST_SKIP() << "no time zone data";
    // Clocks went back on 26 October 2025: from 25 Oct 00:30 to the start of
    // 27 Oct is 48.5 real hours but only one day and 23.5 hours on the clock.
    LocalTask t = task("t", QDateTime(QDate(2025, 10, 25), QTime(0, 30), berlin));
    EXPECT_EQ(Sweep::reason(t, QDateTime(QDate(2025, 10, 27), QTime(9, 0), berlin), berlin),
              QStringLiteral("1 日、触れていません"));
}

} // namespace
