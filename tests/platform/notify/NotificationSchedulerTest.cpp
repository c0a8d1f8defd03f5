#include "platform/time/Clock.h"
#include "platform/notify/NotificationScheduler.h"

#include "support/ScopedTimeZone.h"

#include <gtest/gtest.h>
#include <map>

namespace {

// A clock whose timers behave like the machine's: they count running time,
// so while the machine sleeps (sleep()) the wall clock moves on and the
// timers stand still.
class SleepingClock : public Clock
{
public:
    explicit SleepingClock(const QDateTime &start) : m_now(start) {}

    QDateTime now() const override { return m_now; }
    Handle schedule(qint64 ms, std::function<void()> fn) override
    {
        m_timers.emplace(m_next, Timer{m_running + std::max<qint64>(ms, 0), std::move(fn)});
        return m_next++;
    }
    void cancel(Handle handle) override { m_timers.erase(handle); }

    // The machine runs for ms, firing timers in order.
    void run(qint64 ms)
    {
        const qint64 end = m_running + ms;
        for (;;) {
            auto next = m_timers.end();
            for (auto it = m_timers.begin(); it != m_timers.end(); ++it)
                if (it->second.at <= end && (next == m_timers.end() || it->second.at < next->second.at))
                    next = it;
            if (next == m_timers.end())
                break;
            m_now = m_now.addMSecs(next->second.at - m_running);
            m_running = next->second.at;
            auto fn = std::move(next->second.fn);
            m_timers.erase(next);
            fn();
        }
        m_now = m_now.addMSecs(end - m_running);
        m_running = end;
    }
    // The machine sleeps for ms: wall time passes, no timer moves.
    void sleep(qint64 ms) { m_now = m_now.addMSecs(ms); }
    int timerCount() const { return int(m_timers.size()); }

private:
    struct Timer
    {
        qint64 at;
        std::function<void()> fn;
    };
    QDateTime m_now;
    qint64 m_running = 0;
    Handle m_next = 1;
    std::map<Handle, Timer> m_timers;
};

struct Shown
{
    QString identifier;
    QString body;
    QDateTime at;
};

struct RecordingSink : NotificationSink
{
    QList<Shown> shown;
    void show(const NotificationRequest &request) override
    {
        shown.append({request.identifier, request.body, Clock::current().now()});
    }
};

NotificationRequest request(const QString &identifier, const NotificationTrigger &trigger,
                            const QString &body = QString())
{
    NotificationRequest r;
    r.identifier = identifier;
    r.title = QStringLiteral("title");
    r.body = body;
    r.trigger = trigger;
    return r;
}

QDateTime at(int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2025, 3, day), QTime(hour, minute, second));
}

constexpr qint64 kMinute = 60'000;
constexpr qint64 kDay = 24 * 60 * kMinute;

struct SchedulerTest : ::testing::Test
{
    SleepingClock clock{at(4, 9, 0)};
    RecordingSink sink;
    NotificationScheduler scheduler{sink};

    void SetUp() override { Clock::setCurrent(&clock); }
    void TearDown() override { Clock::setCurrent(nullptr); }
};

} // namespace

TEST_F(SchedulerTest, FirstDueTimeOfEachTrigger)
{
    struct Case
    {
        const char *name;
        NotificationTrigger trigger;
        QDateTime due;
    };
    const Case cases[] = {
        {"interval", NotificationTrigger::interval(90.25), at(4, 9, 1, 30).addMSecs(250)},
        {"later today", NotificationTrigger::timeOfDay(10, 30, false), at(4, 10, 30)},
        {"earlier today is tomorrow", NotificationTrigger::timeOfDay(8, 0, true), at(5, 8, 0)},
        {"this very minute is tomorrow", NotificationTrigger::timeOfDay(9, 0, true), at(5, 9, 0)},
        {"hour above range", NotificationTrigger::timeOfDay(25, 0, true), at(4, 23, 0)},
        {"hour below range", NotificationTrigger::timeOfDay(-1, 0, true), at(5, 0, 0)},
    };
    for (const Case &c : cases) {
        scheduler.add(request(QString::fromLatin1(c.name), c.trigger));
    }
    const QList<PendingNotification> pending = scheduler.pending();
    ASSERT_EQ(pending.size(), std::size(cases));
    for (const Case &c : cases) {
        const auto it = std::find_if(pending.begin(), pending.end(), [&](const PendingNotification &p) {
            return p.request.identifier == QLatin1String(c.name);
        });
        ASSERT_NE(it, pending.end()) << c.name;
        EXPECT_EQ(it->due, c.due) << c.name;
    }
    EXPECT_TRUE(std::is_sorted(pending.begin(), pending.end(),
                               [](const PendingNotification &a, const PendingNotification &b) { return a.due < b.due; }));
    EXPECT_TRUE(sink.shown.isEmpty());
}

TEST_F(SchedulerTest, ImmediateAndNonPositiveIntervalsShowAtOnce)
{
    scheduler.add(request(QStringLiteral("now"), NotificationTrigger::immediate()));
    scheduler.add(request(QStringLiteral("zero"), NotificationTrigger::interval(0)));
    scheduler.add(request(QStringLiteral("negative"), NotificationTrigger::interval(-5)));
    ASSERT_EQ(sink.shown.size(), 3);
    EXPECT_EQ(sink.shown[0].identifier, QStringLiteral("now"));
    EXPECT_EQ(sink.shown[2].identifier, QStringLiteral("negative"));
    EXPECT_TRUE(scheduler.pending().isEmpty());
    EXPECT_EQ(clock.timerCount(), 0);
}

TEST_F(SchedulerTest, ShowsAtTheDueTimeOnceAndStopsItsTimers)
{
    scheduler.add(request(QStringLiteral("a"), NotificationTrigger::interval(600)));
    scheduler.add(request(QStringLiteral("b"), NotificationTrigger::interval(60)));
    clock.run(kMinute - 1);
    EXPECT_TRUE(sink.shown.isEmpty());
    clock.run(1);
    ASSERT_EQ(sink.shown.size(), 1);
    EXPECT_EQ(sink.shown[0].identifier, QStringLiteral("b"));
    EXPECT_EQ(sink.shown[0].at, at(4, 9, 1));

    clock.run(kDay);
    ASSERT_EQ(sink.shown.size(), 2);
    EXPECT_EQ(sink.shown[1].identifier, QStringLiteral("a"));
    EXPECT_EQ(sink.shown[1].at, at(4, 9, 10));
    EXPECT_TRUE(scheduler.pending().isEmpty());
    EXPECT_EQ(clock.timerCount(), 0) << "nothing pending, nothing armed";
}

TEST_F(SchedulerTest, SameIdentifierReplacesThePendingRequest)
{
    scheduler.add(request(QStringLiteral("x"), NotificationTrigger::interval(60), QStringLiteral("old")));
    scheduler.add(request(QStringLiteral("x"), NotificationTrigger::interval(120), QStringLiteral("new")));
    ASSERT_EQ(scheduler.pending().size(), 1);
    clock.run(10 * kMinute);
    ASSERT_EQ(sink.shown.size(), 1);
    EXPECT_EQ(sink.shown[0].body, QStringLiteral("new"));
    EXPECT_EQ(sink.shown[0].at, at(4, 9, 2));
}

TEST_F(SchedulerTest, RemovalByIdentifierTakesOnlyWhatIsPendingNow)
{
    scheduler.add(request(QStringLiteral("kiv.plan.A"), NotificationTrigger::interval(60)));
    scheduler.add(request(QStringLiteral("kiv.plan.B"), NotificationTrigger::interval(60)));
    scheduler.add(request(QStringLiteral("kiv.phase.end"), NotificationTrigger::interval(60)));
    scheduler.remove(QStringList{QStringLiteral("kiv.plan.A"), QStringLiteral("kiv.plan.B"), QStringLiteral("none")});
    scheduler.add(request(QStringLiteral("kiv.plan.A"), NotificationTrigger::interval(120)));
    clock.run(10 * kMinute);
    ASSERT_EQ(sink.shown.size(), 2);
    EXPECT_EQ(sink.shown[0].identifier, QStringLiteral("kiv.phase.end"));
    EXPECT_EQ(sink.shown[1].identifier, QStringLiteral("kiv.plan.A"));
    EXPECT_EQ(sink.shown[1].at, at(4, 9, 2));
}

TEST_F(SchedulerTest, WithdrawingAListingNeverRemovesTheRequestsThatReplacedIt)
{
    // List the old plan notices, add their replacements under the same
    // identifiers, then withdraw the listing: only the old ones may go.
    scheduler.add(request(QStringLiteral("kiv.plan.A"), NotificationTrigger::interval(60), QStringLiteral("old A")));
    scheduler.add(request(QStringLiteral("kiv.plan.B"), NotificationTrigger::interval(60), QStringLiteral("old B")));
    const QList<PendingNotification> listed = scheduler.pending();
    scheduler.add(request(QStringLiteral("kiv.plan.A"), NotificationTrigger::interval(300), QStringLiteral("new A")));
    scheduler.remove(listed);

    const QList<PendingNotification> left = scheduler.pending();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].request.body, QStringLiteral("new A"));
    clock.run(10 * kMinute);
    ASSERT_EQ(sink.shown.size(), 1);
    EXPECT_EQ(sink.shown[0].body, QStringLiteral("new A"));
}

TEST_F(SchedulerTest, DailyRequestRepeatsAtItsTimeOfDayAndAOneOffDoesNot)
{
    scheduler.add(request(QStringLiteral("morning"), NotificationTrigger::timeOfDay(9, 30, true)));
    scheduler.add(request(QStringLiteral("once"), NotificationTrigger::timeOfDay(12, 0, false)));
    clock.run(3 * kDay);
    QList<QDateTime> mornings, onces;
    for (const Shown &s : sink.shown)
        (s.identifier == QStringLiteral("morning") ? mornings : onces).append(s.at);
    EXPECT_EQ(mornings, (QList<QDateTime>{at(4, 9, 30), at(5, 9, 30), at(6, 9, 30)}));
    EXPECT_EQ(onces, QList<QDateTime>{at(4, 12, 0)});
    ASSERT_EQ(scheduler.pending().size(), 1);
    EXPECT_EQ(scheduler.pending()[0].due, at(7, 9, 30));
}

TEST_F(SchedulerTest, RequestsMissedWhileAsleepShowOnceOnWaking)
{
    scheduler.add(request(QStringLiteral("phase"), NotificationTrigger::interval(25 * 60)));
    scheduler.add(request(QStringLiteral("morning"), NotificationTrigger::timeOfDay(9, 30, true)));
    scheduler.add(request(QStringLiteral("later"), NotificationTrigger::interval(4 * 24 * 3600)));
    clock.run(kMinute);
    // Asleep from 09:01 on the 4th until 12:01 on the 7th: three mornings missed.
    clock.sleep(3 * kDay + 3 * 60 * kMinute);
    clock.run(NotificationScheduler::kWakeCheckMs);

    ASSERT_EQ(sink.shown.size(), 2);
    EXPECT_EQ(sink.shown[0].identifier, QStringLiteral("phase"));
    EXPECT_EQ(sink.shown[1].identifier, QStringLiteral("morning"));
    EXPECT_LE(sink.shown[1].at, at(7, 12, 1).addMSecs(NotificationScheduler::kWakeCheckMs));
    const QList<PendingNotification> pending = scheduler.pending();
    ASSERT_EQ(pending.size(), 2);
    EXPECT_EQ(pending[0].request.identifier, QStringLiteral("later"));
    EXPECT_EQ(pending[1].request.identifier, QStringLiteral("morning"));
    EXPECT_EQ(pending[1].due, at(8, 9, 30));

    // The next due time comes from the wall clock, not the timer set before sleep.
    clock.run(kDay);
    ASSERT_EQ(sink.shown.size(), 4);
    EXPECT_EQ(sink.shown[2].identifier, QStringLiteral("later"));
    EXPECT_EQ(sink.shown[2].at, at(8, 9, 0));
    EXPECT_EQ(sink.shown[3].identifier, QStringLiteral("morning"));
    EXPECT_EQ(sink.shown[3].at, at(8, 9, 30));
}

TEST(NotificationTrigger, DailyTimeKeepsTheWallClockAcrossADaylightSavingChange)
{
    ScopedTimeZone zone("Europe/Berlin");
    const NotificationTrigger trigger = NotificationTrigger::timeOfDay(9, 0, true);
    // Clocks go forward at 02:00 on 30 March 2025: the day is 23 hours long.
    const QDateTime saturday(QDate(2025, 3, 29), QTime(9, 0));
    const QDateTime next = trigger.nextTimeOfDay(saturday);
    EXPECT_EQ(next, QDateTime(QDate(2025, 3, 30), QTime(9, 0)));
    EXPECT_EQ(saturday.secsTo(next), 23 * 3600);
    // A time of day inside the skipped hour falls at the end of the gap that day.
    const QDateTime gap = NotificationTrigger::timeOfDay(2, 30, true).nextTimeOfDay(saturday);
    EXPECT_EQ(gap, QDateTime(QDate(2025, 3, 30), QTime(3, 0)));
}
