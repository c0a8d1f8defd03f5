#include "StoreFixture.h"

#include "core/L.h"
#include "stores/Lookback.h"

namespace {

class LookbackTest : public StoreFixture
{
protected:
    static SessionRecord rec(const QString &title, const QDateTime &start, qint64 seconds,
                             Phase phase = Phase::focus)
    {
        return SessionRecord{QUuid::createUuid(), phase, title, start, start.addSecs(seconds), true,
                             std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    }
};

TEST_F(LookbackTest, Spans)
{
    struct Case
    {
        const char *name;
        QDateTime date;
        std::optional<QDateTime> lastSwept;
        QDate from;
        int days;
    };
    const Case cases[] = {
        {"no sweep yet: from the day after the previous sweep day", at(2025, 6, 9, 20), std::nullopt,
         QDate(2025, 6, 5), 5},
        {"from the day after the last sweep", at(2025, 6, 9, 20), at(2025, 6, 6, 21), QDate(2025, 6, 7), 3},
        {"a sweep long ago counts from the previous sweep day", at(2025, 6, 9, 20), at(2025, 5, 29, 9),
         QDate(2025, 6, 5), 5},
        {"already swept today: an empty span from tomorrow", at(2025, 6, 9, 20), at(2025, 6, 9, 8),
         QDate(2025, 6, 10), 1},
        {"a sweep in the future counts as today", at(2025, 6, 9, 20), at(2025, 6, 12, 8), QDate(2025, 6, 10), 1},
        {"1 March of a common year reaches back to 24 February", at(2025, 3, 1, 12), std::nullopt,
         QDate(2025, 2, 25), 5},
        {"on the 1st after a 31-day month", at(2025, 4, 1, 12), std::nullopt, QDate(2025, 3, 30), 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Lookback::Summary s = Lookback::summary({}, c.lastSwept, c.date);
        EXPECT_EQ(s.from, c.from.startOfDay());
        EXPECT_EQ(s.to, c.date.date().startOfDay());
        EXPECT_EQ(s.days, c.days);
        EXPECT_EQ(s.minutes, 0);
        EXPECT_EQ(s.sessions, 0);
        EXPECT_TRUE(s.lines.isEmpty());
    }
}

TEST_F(LookbackTest, SpanBoundsAreDayStartsWhenDaylightSavingBeginsAtMidnight)
{
    const QTimeZone santiago("America/Santiago");
    if (!santiago.isValid())
        GTEST_SKIP() << "no time zone data";
    // On 8 September 2024 Santiago's clocks went from 00:00 to 01:00, so that
    // day began at 01:00 while the 9th and 10th began at midnight.
    auto sept = [&](int d, int h, int m = 0) { return QDateTime(QDate(2024, 9, d), QTime(h, m), santiago); };
    const QList<SessionRecord> records{rec("early", sept(9, 0, 30), 1500), rec("next day", sept(10, 0, 30), 1500)};

    const Lookback::Summary swept = Lookback::summary(records, sept(8, 12), sept(9, 20), santiago);
    EXPECT_EQ(swept.from, sept(9, 0));
    EXPECT_EQ(swept.days, 1);
    EXPECT_EQ(swept.sessions, 1) << "a round at 00:30 on the first day of the span counts";

    const Lookback::Summary onTheDay = Lookback::summary(records, sept(4, 12), sept(8, 20), santiago);
    EXPECT_EQ(onTheDay.from, sept(5, 0));
    EXPECT_EQ(onTheDay.days, 4);
    EXPECT_EQ(onTheDay.sessions, 0) << "the span ends at the next midnight, not at 01:00";
}

TEST_F(LookbackTest, TotalsAndLeadingTitles)
{
    const QDateTime today = at(2025, 6, 9, 20);
    SessionRecord deleted = rec("gone", at(2025, 6, 8, 9), 3600);
    deleted.deletedAt = at(2025, 6, 8, 10);
    const QList<SessionRecord> records = {
        rec("write", at(2025, 6, 5, 0, 0), 1520),
        rec("  write\n", at(2025, 6, 9, 23, 59), 1520), // 3040 s: 50.67 -> 51, not 25 + 25
        rec("   ", at(2025, 6, 6, 9), 600),             // counts in totals only
        rec("read", at(2025, 6, 6, 9), 1200),
        rec("rest", at(2025, 6, 6, 10), 1200, Phase::shortBreak),
        rec("before", at(2025, 6, 4, 23, 59), 1200),
        rec("after", at(2025, 6, 10, 0, 0), 1200),
        deleted,
    };
    const Lookback::Summary s = Lookback::summary(records, std::nullopt, today);
    EXPECT_EQ(s.sessions, 4);
    EXPECT_EQ(s.minutes, 81); // (3040 + 600 + 1200) / 60 = 80.67
    ASSERT_EQ(s.lines.size(), 2);
    EXPECT_EQ(s.lines[0], (Lookback::Line{"write", 51, 2}));
    EXPECT_EQ(s.lines[1], (Lookback::Line{"read", 20, 1}));
}

TEST_F(LookbackTest, SixLinesOrderedByMinutesThenTitle)
{
    QList<SessionRecord> records;
    const QStringList titles = {"g", "f", "e", "d", "c", "b", "a"};
    for (int i = 0; i < titles.size(); ++i)
        records << rec(titles[i], at(2025, 6, 8, 9 + i), i < 3 ? 600 : 300);
    const Lookback::Summary s = Lookback::summary(records, std::nullopt, at(2025, 6, 9, 20));
    QStringList shown;
    for (const Lookback::Line &l : s.lines)
        shown << l.title;
    EXPECT_EQ(shown, (QStringList{"e", "f", "g", "a", "b", "c"}));
    EXPECT_EQ(s.sessions, 7);
}

TEST_F(LookbackTest, TiesCompareCodePointsNotUtf16Units)
{
    // U+FF21 (one UTF-16 unit) sorts before U+1F600 (a surrogate pair) by
    // code point, though its UTF-16 unit is larger than the high surrogate.
    const QString wide = QStringLiteral("\uFF21");
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const Lookback::Summary s = Lookback::summary(
        {rec(emoji, at(2025, 6, 8, 9), 600), rec(wide, at(2025, 6, 8, 10), 600)}, std::nullopt, at(2025, 6, 9));
    ASSERT_EQ(s.lines.size(), 2);
    EXPECT_EQ(s.lines[0].title, wide);
}

TEST_F(LookbackTest, WordsOfTheSpan)
{
    auto note = [](const char *day, const QString &morning, const QString &evening) {
        DayNote n = DayNote::empty(QString::fromLatin1(day));
        n.intention = morning;
        n.reflection = evening;
        return n;
    };
    DayNote dead = note("2025-06-07", "dead", "dead");
    dead.deletedAt = at(2025, 6, 8);
    const QList<DayNote> notes = {
        note("2025-06-09", "last", " evening \n"), note("2025-06-04", "before", ""), dead,
        note("2025-06-06", " \u3000", "  "),      note("2025-06-05", "first", ""), note("2025-06-10", "after", ""),
    };
    const QList<Lookback::DayWords> words = Lookback::words(notes, at(2025, 6, 5), at(2025, 6, 9, 18));
    const QList<Lookback::DayWords> expected = {
        {"2025-06-05", QStringLiteral("first"), std::nullopt},
        {"2025-06-09", QStringLiteral("last"), QStringLiteral("evening")},
    };
    EXPECT_EQ(words, expected);
}

TEST_F(LookbackTest, DayLabels)
{
    Lang::setForTesting(true);
    EXPECT_EQ((Lookback::DayWords{"2026-03-09", {}, {}}.label()), QStringLiteral("3月9日"));
    EXPECT_EQ((Lookback::DayWords{"2026-03", {}, {}}.label()), QStringLiteral("2026-03"));
    Lang::setForTesting(false);
    EXPECT_EQ((Lookback::DayWords{"2026-03-09", {}, {}}.label()), QStringLiteral("Mar 9"));
    Lang::setForTesting(std::nullopt);
}

} // namespace
