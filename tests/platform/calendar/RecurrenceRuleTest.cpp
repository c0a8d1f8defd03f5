#include "platform/calendar/module/RecurrenceRule.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <libical/ical.h>

namespace {

qint64 wallOf(const icaltimetype &t)
{
    const QDate date(t.year, t.month, t.day);
    return RecurrenceRule::wall(date, t.is_date ? QTime(0, 0) : QTime(t.hour, t.minute, t.second));
}

qint64 wallOf(const char *text)
{
    return wallOf(icaltime_from_string(text));
}

QString text(qint64 wall)
{
    return RecurrenceRule::dateOf(wall).toString(QStringLiteral("yyyyMMdd"))
           + RecurrenceRule::timeOf(wall).toString(QStringLiteral("'T'HHmmss"));
}

// A rule as a calendar file writes it; its UNTIL is read on the wall clock
// (a date ends the day it names for a series with times).
RecurrenceRule rule(const char *line, bool allDay = false)
{
    const icalrecurrencetype parsed = icalrecurrencetype_from_string(line);
    std::optional<RecurrenceRule> r = RecurrenceRule::fromIcal(parsed);
    if (!r)
        return {};
    if (!icaltime_is_null_time(parsed.until))
        r->until = wallOf(parsed.until) + (parsed.until.is_date && !allDay ? 86399 : 0);
    return *r;
}

// The starts as text, space separated, for readable failures.
std::string texts(const QList<qint64> &walls)
{
    QStringList out;
    for (qint64 w : walls)
        out << text(w);
    return out.join(QLatin1Char(' ')).toStdString();
}

// The starts libical's own walk gives in [from, to], from the series start on.
// The starts libical's own walk gives up to `to`, from the series start on.
QList<qint64> libicalStarts(const char *line, const char *start, qint64 to)
{
    icalrecur_iterator *it = icalrecur_iterator_new(icalrecurrencetype_from_string(line), icaltime_from_string(start));
    QList<qint64> out;
    if (!it)
        return out;
    for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t); t = icalrecur_iterator_next(it)) {
        const qint64 w = wallOf(t);
        if (w > to)
            break;
        out << w;
    }
    icalrecur_iterator_free(it);
    return out;
}

std::string within(const QList<qint64> &walls, qint64 from, qint64 to)
{
    QList<qint64> out;
    for (qint64 w : walls)
        if (w >= from && w <= to)
            out << w;
    return texts(out);
}

constexpr qint64 kBudget = 100000;

} // namespace

// The worked examples of the iCalendar standard (RFC 5545, 3.8.5.3), read on
// the wall clock: every start each rule gives, or its first ones.
TEST(RecurrenceRule, GivesTheStartsOfTheStandardsExamples)
{
    struct Case
    {
        const char *rule;
        const char *start;
        const char *starts; // the first starts, space separated
    };
    const Case cases[] = {
        {"FREQ=DAILY;COUNT=10", "19970902T090000",
         "19970902T090000 19970903T090000 19970904T090000 19970905T090000 19970906T090000 19970907T090000 "
         "19970908T090000 19970909T090000 19970910T090000 19970911T090000"},
        {"FREQ=DAILY;INTERVAL=10;COUNT=5", "19970902T090000",
         "19970902T090000 19970912T090000 19970922T090000 19971002T090000 19971012T090000"},
        {"FREQ=YEARLY;UNTIL=20000131T140000;BYMONTH=1;BYDAY=SU,MO,TU,WE,TH,FR,SA", "19980101T090000",
         "19980101T090000 19980102T090000 19980103T090000"},
        {"FREQ=WEEKLY;UNTIL=19971007;WKST=SU;BYDAY=TU,TH", "19970902T090000",
         "19970902T090000 19970904T090000 19970909T090000 19970911T090000 19970916T090000 19970918T090000 "
         "19970923T090000 19970925T090000 19970930T090000 19971002T090000"},
        {"FREQ=WEEKLY;INTERVAL=2;UNTIL=19971224;WKST=SU;BYDAY=MO,WE,FR", "19970901T090000",
         "19970901T090000 19970903T090000 19970905T090000 19970915T090000 19970917T090000 19970919T090000 "
         "19970929T090000 19971001T090000 19971003T090000 19971013T090000"},
        {"FREQ=WEEKLY;INTERVAL=2;COUNT=8;WKST=SU;BYDAY=TU,TH", "19970902T090000",
         "19970902T090000 19970904T090000 19970916T090000 19970918T090000 19970930T090000 19971002T090000 "
         "19971014T090000 19971016T090000"},
        {"FREQ=MONTHLY;COUNT=10;BYDAY=1FR", "19970905T090000",
         "19970905T090000 19971003T090000 19971107T090000 19971205T090000 19980102T090000 19980206T090000 "
         "19980306T090000 19980403T090000 19980501T090000 19980605T090000"},
        {"FREQ=MONTHLY;INTERVAL=2;COUNT=10;BYDAY=1SU,-1SU", "19970907T090000",
         "19970907T090000 19970928T090000 19971102T090000 19971130T090000 19980104T090000 19980125T090000 "
         "19980301T090000 19980329T090000 19980503T090000 19980531T090000"},
        {"FREQ=MONTHLY;COUNT=6;BYDAY=-2MO", "19970922T090000",
         "19970922T090000 19971020T090000 19971117T090000 19971222T090000 19980119T090000 19980216T090000"},
        {"FREQ=MONTHLY;BYMONTHDAY=-3", "19970928T090000",
         "19970928T090000 19971029T090000 19971128T090000 19971229T090000 19980129T090000 19980226T090000"},
        {"FREQ=MONTHLY;COUNT=10;BYMONTHDAY=1,-1", "19970930T090000",
         "19970930T090000 19971001T090000 19971031T090000 19971101T090000 19971130T090000 19971201T090000 "
         "19971231T090000 19980101T090000 19980131T090000 19980201T090000"},
        {"FREQ=MONTHLY;INTERVAL=18;COUNT=10;BYMONTHDAY=10,11,12,13,14,15", "19970910T090000",
         "19970910T090000 19970911T090000 19970912T090000 19970913T090000 19970914T090000 19970915T090000 "
         "19990310T090000 19990311T090000 19990312T090000 19990313T090000"},
        {"FREQ=MONTHLY;INTERVAL=2;BYDAY=TU", "19970902T090000",
         "19970902T090000 19970909T090000 19970916T090000 19970923T090000 19970930T090000 19971104T090000"},
        {"FREQ=YEARLY;INTERVAL=2;COUNT=10;BYMONTH=1,2,3", "19970310T090000",
         "19970310T090000 19990110T090000 19990210T090000 19990310T090000 20010110T090000 20010210T090000 "
         "20010310T090000 20030110T090000 20030210T090000 20030310T090000"},
        {"FREQ=YEARLY;INTERVAL=3;COUNT=10;BYYEARDAY=1,100,200", "19970101T090000",
         "19970101T090000 19970410T090000 19970719T090000 20000101T090000 20000409T090000 20000718T090000 "
         "20030101T090000 20030410T090000 20030719T090000 20060101T090000"},
        {"FREQ=YEARLY;BYDAY=20MO", "19970519T090000", "19970519T090000 19980518T090000 19990517T090000"},
        {"FREQ=YEARLY;BYWEEKNO=20;BYDAY=MO", "19970512T090000", "19970512T090000 19980511T090000 19990517T090000"},
        {"FREQ=YEARLY;BYMONTH=3;BYDAY=TH", "19970313T090000",
         "19970313T090000 19970320T090000 19970327T090000 19980305T090000 19980312T090000"},
        {"FREQ=MONTHLY;BYDAY=FR;BYMONTHDAY=13", "19970902T090000",
         "19980213T090000 19980313T090000 19981113T090000 19990813T090000 20001013T090000"},
        {"FREQ=MONTHLY;BYDAY=SA;BYMONTHDAY=7,8,9,10,11,12,13", "19970913T090000",
         "19970913T090000 19971011T090000 19971108T090000 19971213T090000 19980110T090000"},
        {"FREQ=YEARLY;INTERVAL=4;BYMONTH=11;BYDAY=TU;BYMONTHDAY=2,3,4,5,6,7,8", "19961105T090000",
         "19961105T090000 20001107T090000 20041102T090000"},
        {"FREQ=MONTHLY;COUNT=3;BYDAY=TU,WE,TH;BYSETPOS=3", "19970904T090000",
         "19970904T090000 19971007T090000 19971106T090000"},
        {"FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-2", "19970929T090000",
         "19970929T090000 19971030T090000 19971127T090000 19971230T090000 19980129T090000 19980226T090000"},
        {"FREQ=HOURLY;INTERVAL=3;UNTIL=19970902T170000", "19970902T090000",
         "19970902T090000 19970902T120000 19970902T150000"},
        {"FREQ=MINUTELY;INTERVAL=90;COUNT=4", "19970902T090000",
         "19970902T090000 19970902T103000 19970902T120000 19970902T133000"},
        {"FREQ=DAILY;BYHOUR=9,10,11,12,13,14,15,16;BYMINUTE=0,20,40", "19970902T090000",
         "19970902T090000 19970902T092000 19970902T094000 19970902T100000"},
        {"FREQ=MINUTELY;INTERVAL=20;BYHOUR=9,10,11,12,13,14,15,16", "19970902T090000",
         "19970902T090000 19970902T092000 19970902T094000 19970902T100000"},
        {"FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=MO", "19970805T090000",
         "19970805T090000 19970810T090000 19970819T090000 19970824T090000"},
        {"FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=SU", "19970805T090000",
         "19970805T090000 19970817T090000 19970819T090000 19970831T090000"},
        {"FREQ=MONTHLY;BYMONTHDAY=15,30;COUNT=5", "20070115T090000",
         "20070115T090000 20070130T090000 20070215T090000 20070315T090000 20070330T090000"},
        {"FREQ=MONTHLY;COUNT=5", "20070131T090000",
         "20070131T090000 20070331T090000 20070531T090000 20070731T090000 20070831T090000"},
        // A day of the month that February lacks, and the leap day.
        {"FREQ=YEARLY", "20240229T090000", "20240229T090000 20280229T090000 20320229T090000"},
    };
    for (const Case &c : cases) {
        const qsizetype expected = QString::fromLatin1(c.starts).split(QLatin1Char(' ')).size();
        const qint64 start = wallOf(c.start);
        const RecurrenceRule r = rule(c.rule);
        ASSERT_TRUE(r.isUsable(false)) << c.rule;
        const qint64 tenYears = qint64(3653) * 86400;
        const QList<qint64> found = r.starts(start, false, start, start + tenYears, kBudget).starts;
        EXPECT_EQ(texts(found.mid(0, expected)), c.starts) << c.rule;
        if (r.count) {
            EXPECT_EQ(found.size(), r.count) << c.rule;
        }
    }
}

// Asked for a window far from the series start, the walk jumps to it and
// gives what walking every period from the start gives there (libical's
// walk, on rules it reads right).
TEST(RecurrenceRule, AWindowFarFromTheStartGivesWhatTheWholeWalkGives)
{
    const char *rules[] = {
        "FREQ=DAILY",
        "FREQ=DAILY;INTERVAL=3",
        "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH",
        "FREQ=WEEKLY;BYDAY=MO,WE,FR;WKST=SU;INTERVAL=3",
        "FREQ=MONTHLY",
        "FREQ=MONTHLY;INTERVAL=5;BYMONTHDAY=30",
        "FREQ=MONTHLY;BYDAY=2TU",
        "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1",
        "FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU",
        "FREQ=YEARLY;BYWEEKNO=20;BYDAY=MO",
        "FREQ=YEARLY;BYYEARDAY=100",
        "FREQ=HOURLY;INTERVAL=5",
        "FREQ=MINUTELY;INTERVAL=90",
        "FREQ=HOURLY;BYHOUR=9,17",
        "FREQ=DAILY;BYHOUR=9,15;BYMINUTE=0,30",
        "FREQ=DAILY;BYMONTH=1,7",
        "FREQ=WEEKLY;UNTIL=20300101T000000",
        "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29",
    };
    const char *starts[] = {"20230101T000000", "20240229T233000", "20250131T090000"};
    for (const char *line : rules) {
        for (const char *start : starts) {
            const RecurrenceRule r = rule(line);
            const qint64 s = wallOf(start);
            const QList<qint64> whole = libicalStarts(line, start, wallOf("20300110T000000"));
            // Windows of a day and of a month, some years on.
            for (const auto &[from, days] : {std::pair{wallOf("20270315T000000"), 1}, {wallOf("20270301T000000"), 31},
                                             {wallOf("20291231T120000"), 3}}) {
                const qint64 to = from + days * 86400 - 1;
                const RecurrenceRule::Walk walk = r.starts(s, false, from, to, kBudget);
                EXPECT_FALSE(walk.cut) << line;
                EXPECT_EQ(texts(walk.starts), within(whole, from, to)) << line << " from " << start;
                EXPECT_LT(walk.steps, 5000) << line << " walks from near the window, not from the start";
            }
        }
    }
}

// No rule keeps a reader busy: a series begun in year 1 that repeats every
// minute, rules that can never be met, and a count that would run for
// centuries are each walked within a bounded number of steps, and what they
// give in the window is right.
TEST(RecurrenceRule, HostileRulesAreWalkedWithinTheirBudget)
{
    const qint64 yearOne = wallOf("00010101T000000");
    const qint64 day = wallOf("20250304T000000");
    const qint64 dayEnd = day + 86399;

    const RecurrenceRule minutely = rule("FREQ=MINUTELY");
    const RecurrenceRule::Walk everyMinute = minutely.starts(yearOne, false, day, dayEnd, kBudget);
    EXPECT_EQ(everyMinute.starts.size(), 1440);
    EXPECT_EQ(text(everyMinute.starts.first()), QStringLiteral("20250304T000000"));
    EXPECT_EQ(text(everyMinute.starts.last()), QStringLiteral("20250304T235900"));
    EXPECT_LT(everyMinute.steps, 3000);

    struct Case
    {
        const char *rule;
        const char *start;
    };
    const Case never[] = {
        {"FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30", "00010101T000000"},
        {"FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30", "00010101T000000"},
        {"FREQ=MINUTELY;BYMONTH=2;BYMONTHDAY=30", "20250101T000000"},
        {"FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30", "20250101T000000"},
        {"FREQ=MONTHLY;BYMONTHDAY=31;BYMONTH=4", "00010101T000000"},
        {"FREQ=HOURLY;INTERVAL=2;BYHOUR=1", "20250101T000000"},
        {"FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30;COUNT=5", "00010101T000000"},
        {"FREQ=MINUTELY;BYMONTH=2;BYMONTHDAY=30;COUNT=5", "00010101T000000"},
    };
    for (const Case &c : never) {
        const RecurrenceRule r = rule(c.rule);
        const RecurrenceRule::Walk walk = r.starts(wallOf(c.start), false, day, dayEnd, 20000);
        EXPECT_TRUE(walk.starts.isEmpty()) << c.rule;
        EXPECT_LE(walk.steps, 20000 + 400) << c.rule;
        const RecurrenceRule ended = r.counted(wallOf(c.start), false, 20000);
        EXPECT_EQ(ended.count, 0) << c.rule;
        EXPECT_TRUE(ended.starts(wallOf(c.start), false, day, dayEnd, 20000).starts.isEmpty()) << c.rule;
    }

    // A count of a billion minutes from year 1 ends long before 2025; turned
    // into an end within its budget, it gives nothing there either.
    const RecurrenceRule counted = rule("FREQ=MINUTELY;COUNT=1000000000").counted(yearOne, false, 20000);
    EXPECT_LT(counted.until, day);
    EXPECT_TRUE(counted.starts(yearOne, false, day, dayEnd, 20000).starts.isEmpty());

    // A count turned into an end gives the same starts as counting.
    const RecurrenceRule weekly = rule("FREQ=WEEKLY;COUNT=30;BYDAY=MO,TH");
    const qint64 start = wallOf("20250106T090000");
    EXPECT_EQ(weekly.counted(start, false, kBudget).starts(start, false, start, RecurrenceRule::kNoEnd, kBudget).starts,
              weekly.starts(start, false, start, RecurrenceRule::kNoEnd, kBudget).starts);
}

TEST(RecurrenceRule, RulesTheFrequencyDoesNotAllowAreNotUsed)
{
    struct Case
    {
        const char *rule;
        bool allDay;
        bool usable;
    };
    const Case cases[] = {
        {"FREQ=WEEKLY;BYMONTHDAY=3", false, false},
        {"FREQ=DAILY;BYYEARDAY=3", false, false},
        {"FREQ=MONTHLY;BYWEEKNO=3", false, false},
        {"FREQ=HOURLY", true, false},
        {"FREQ=DAILY", true, true},
        {"FREQ=YEARLY;BYWEEKNO=-1", false, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rule(c.rule, c.allDay).isUsable(c.allDay), c.usable) << c.rule;

    // A series of whole days keeps to whole days, whatever times the rule names.
    const qint64 start = wallOf("20250303");
    EXPECT_EQ(texts(rule("FREQ=DAILY;BYHOUR=9;COUNT=2", true).starts(start, true, start, RecurrenceRule::kNoEnd, kBudget).starts),
              "20250303T000000 20250304T000000");
    // A date as the end of a series with times ends after that day.
    const qint64 timed = wallOf("20250301T090000");
    EXPECT_EQ(rule("FREQ=DAILY;UNTIL=20250303").starts(timed, false, timed, RecurrenceRule::kNoEnd, kBudget).starts.size(), 3);
}
