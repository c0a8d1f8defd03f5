#include "core/AppSettings.h"
#include "core/DayQuestion.h"
#include "core/KivJSON.h"
#include "platform/fakes/FakeClock.h"
#include "platform/fakes/FakeNotificationCenter.h"
#include "platform/files/Preferences.h"
#include "sources/NoticeRoute.h"
#include "sources/Notifier.h"
#include "sources/PlanNotice.h"
#include "support/LanguageFixtures.h"
#include "support/ScopedDirs.h"

#include <gtest/gtest.h>

namespace {

const QDate kDay(2025, 3, 4);

DayPlan plan(const QString &title, int start, bool timed = true)
{
    DayPlan p;
    p.title = title;
    p.startMinutes = start;
    p.minutes = 30;
    p.timed = timed;
    return p;
}

QDateTime at(int hour, int minute)
{
    return QDateTime(kDay, QTime(hour, minute));
}

QStringList identifiers(const QList<PendingNotification> &pending)
{
    QStringList out;
    for (const PendingNotification &p : pending)
        out << p.request.identifier;
    return out;
}

// A notifier over a fake center on a fake clock at 09:50 of the test day.
struct NotifierTest : InJapanese
{
    FakeClock clock{at(9, 50)};
    FakeNotificationCenter center;
    Notifier notifier{&center};

    void SetUp() override
    {
        InJapanese::SetUp();
        Clock::setCurrent(&clock);
    }
    void TearDown() override
    {
        Clock::setCurrent(nullptr);
        InJapanese::TearDown();
    }

    void planNotices(const QList<DayPlan> &plans, bool running = false)
    {
        const QDateTime now = clock.now();
        notifier.schedulePlanNotices(PlanNotice::upcoming(plans, now, now, running),
                                     PlanNotice::arrivals(plans, now, now, running), now, now);
    }
};

} // namespace

TEST(PlanNoticeItems, TimedPlansOfTheDayStillAhead)
{
    const DayPlan ten = plan(QStringLiteral("見積書"), 600);
    struct Case
    {
        const char *name;
        QDateTime now;
        bool running;
        int advance, arrivals;
    };
    const Case cases[] = {
        {"seen at 09:50: both", at(9, 50), false, 1, 1},
        {"seen at 09:56: only the arrival", at(9, 56), false, 0, 1},
        {"seen at 10:00: none", at(10, 0), false, 0, 0},
        {"while a round runs: none", at(9, 0), true, 0, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PlanNotice::upcoming({ten}, c.now, c.now, c.running).size(), c.advance) << c.name;
        EXPECT_EQ(PlanNotice::arrivals({ten}, c.now, c.now, c.running).size(), c.arrivals) << c.name;
    }
    const QList<PlanNotice::Item> advance = PlanNotice::upcoming({ten}, at(9, 50), at(9, 50), false);
    ASSERT_EQ(advance.size(), 1);
    EXPECT_EQ(advance[0], (PlanNotice::Item{ten.id, ten.title, at(10, 0), at(9, 55)}));

    // Untimed plans never give notices; plans at the same minute keep their order.
    const DayPlan a = plan(QStringLiteral("a"), 660), b = plan(QStringLiteral("b"), 600), c = plan(QStringLiteral("c"), 600);
    const QList<PlanNotice::Item> items =
        PlanNotice::arrivals({a, plan(QStringLiteral("x"), 620, false), b, c}, at(8, 0), at(8, 0), false);
    QStringList titles;
    for (const PlanNotice::Item &item : items)
        titles << item.title;
    EXPECT_EQ(titles, (QStringList{"b", "c", "a"}));
}

TEST_F(NotifierTest, PlanNoticesCarryTimesTextsAndUserInfo)
{
    const DayPlan ten = plan(QStringLiteral("見積書 <案>"), 600);
    planNotices({ten});
    const QList<PendingNotification> pending = center.pendingRequests();
    ASSERT_EQ(pending.size(), 2);
    const QString uuid = KivJSON::uuidString(ten.id);
    const QVariantMap info{{QStringLiteral("planID"), uuid}, {QStringLiteral("day"), QStringLiteral("2025-03-04")}};

    EXPECT_EQ(pending[0].request.identifier, QStringLiteral("kiv.plan.") + uuid);
    EXPECT_EQ(pending[0].due, at(9, 55));
    EXPECT_EQ(pending[0].request.title, QStringLiteral("まもなく 10:00"));
    EXPECT_EQ(pending[0].request.body, ten.title);
    EXPECT_EQ(pending[0].request.sound, NotificationRequest::Sound::None);
    EXPECT_EQ(pending[0].request.userInfo, info);

    EXPECT_EQ(pending[1].request.identifier, QStringLiteral("kiv.plan.arrive.") + uuid);
    EXPECT_EQ(pending[1].due, at(10, 0));
    EXPECT_EQ(pending[1].request.title, QStringLiteral("10:00　始める時刻です"));
    EXPECT_EQ(pending[1].request.sound, NotificationRequest::Sound::Default);
    EXPECT_EQ(pending[1].request.userInfo, info);

    clock.advance(5 * 60 * 1000);
    ASSERT_EQ(center.delivered().size(), 1);
    EXPECT_EQ(center.delivered()[0].identifier, QStringLiteral("kiv.plan.") + uuid);

    EXPECT_EQ(Notifier::clockText(QDateTime(kDay, QTime(9, 5))), QStringLiteral("9:05"));
    EXPECT_EQ(Notifier::clockText(QDateTime(kDay, QTime(14, 30))), QStringLiteral("14:30"));
}

TEST_F(NotifierTest, ReplacingAndWithdrawingPlanNoticesNeverRemovesTheReplacements)
{
    const DayPlan ten = plan(QStringLiteral("a"), 600), eleven = plan(QStringLiteral("b"), 660);
    planNotices({ten, eleven});
    ASSERT_EQ(center.pendingRequests().size(), 4);

    // The same plans again: the old requests go, the new ones (same identifiers) stay.
    planNotices({ten, eleven});
    EXPECT_EQ(center.pendingRequests().size(), 4);

    // Withdrawing and scheduling at once, in either order of arrival, leaves the new set.
    notifier.cancelPlanNotices();
    planNotices({eleven});
    const QString uuid = KivJSON::uuidString(eleven.id);
    EXPECT_EQ(identifiers(center.pendingRequests()),
              (QStringList{"kiv.plan." + uuid, "kiv.plan.arrive." + uuid}));

    // While a round runs, only the withdrawal happens; other notices are kept.
    notifier.schedule(600, QStringLiteral("t"), QStringLiteral("b"));
    planNotices({ten, eleven}, true);
    EXPECT_EQ(identifiers(center.pendingRequests()), (QStringList{"kiv.phase.end"}));
}

TEST_F(NotifierTest, PhaseEndDayPromptsAndImmediateNotices)
{
    struct Case
    {
        double after;
        bool scheduled;
    };
    for (const Case c : {Case{0.5, false}, Case{0.51, true}, Case{0, false}, Case{-3, false}, Case{1500, true}}) {
        notifier.schedule(600, QStringLiteral("old"), QStringLiteral("old"));
        notifier.schedule(c.after, QStringLiteral("終"), QStringLiteral("次へ"));
        const QList<PendingNotification> pending = center.pendingRequests();
        ASSERT_EQ(pending.size(), c.scheduled ? 1 : 0) << c.after;
        if (c.scheduled) {
            EXPECT_EQ(pending[0].request.title, QStringLiteral("終"));
            EXPECT_EQ(pending[0].request.sound, NotificationRequest::Sound::Default);
        }
    }
    notifier.schedule(0, {}, {});

    notifier.scheduleDayPrompts(25, -1, true);
    QList<PendingNotification> prompts = center.pendingRequests();
    ASSERT_EQ(prompts.size(), 2);
    EXPECT_EQ(prompts[0].request.identifier, QStringLiteral("kiv.day.morning")) << "23:00 today comes first";
    EXPECT_EQ(prompts[0].request.trigger, NotificationTrigger::timeOfDay(23, 0, true));
    EXPECT_EQ(prompts[0].request.title, QStringLiteral("朝"));
    EXPECT_EQ(prompts[0].request.body, DayQuestion::morning());
    EXPECT_EQ(prompts[1].request.identifier, QStringLiteral("kiv.day.evening"));
    EXPECT_EQ(prompts[1].request.trigger, NotificationTrigger::timeOfDay(0, 0, true));
    EXPECT_EQ(prompts[1].due, QDateTime(kDay.addDays(1), QTime(0, 0)));
    EXPECT_EQ(prompts[1].request.body, DayQuestion::evening());
    notifier.scheduleDayPrompts(8, 21, false);
    EXPECT_TRUE(center.pendingRequests().isEmpty());

    // From the settings: off by default; on, at the stored hours.
    ScopedDirs dirs;
    Preferences prefs(QStringLiteral("notifier-test"));
    AppSettings settings(prefs);
    notifier.scheduleDayPrompts(settings);
    EXPECT_TRUE(center.pendingRequests().isEmpty());
    settings.setDayPrompts(true);
    settings.setMorningHour(6);
    settings.setEveningHour(30);
    notifier.scheduleDayPrompts(settings);
    prompts = center.pendingRequests();
    ASSERT_EQ(prompts.size(), 2);
    EXPECT_EQ(prompts[0].request.trigger, NotificationTrigger::timeOfDay(23, 0, true));
    EXPECT_EQ(prompts[1].request.trigger, NotificationTrigger::timeOfDay(6, 0, true));
    notifier.scheduleDayPrompts(0, 0, false);

    // Shown at once only once permission was granted; asked once per run.
    notifier.post(QStringLiteral("before"), QString());
    notifier.requestAuthorizationIfNeeded();
    notifier.requestAuthorizationIfNeeded();
    EXPECT_EQ(center.outstandingAuthorizationRequests(), 1);
    notifier.post(QStringLiteral("waiting"), QString());
    center.answerAuthorization(false);
    notifier.post(QStringLiteral("refused"), QString());
    EXPECT_TRUE(center.delivered().isEmpty());

    Notifier granted(&center);
    granted.requestAuthorizationIfNeeded();
    center.answerAuthorization(true);
    granted.post(QStringLiteral("一坐 終わり"), QStringLiteral("body"));
    ASSERT_EQ(center.delivered().size(), 1);
    EXPECT_EQ(center.delivered()[0].title, QStringLiteral("一坐 終わり"));
    EXPECT_EQ(center.delivered()[0].sound, NotificationRequest::Sound::None);
    EXPECT_TRUE(KivJSON::parseUuid(center.delivered()[0].identifier));
}

TEST_F(NotifierTest, WithoutANotificationServiceNothingReachesTheCenter)
{
    center.setAvailable(false);
    notifier.requestAuthorizationIfNeeded();
    notifier.schedule(60, QStringLiteral("t"), QStringLiteral("b"));
    planNotices({plan(QStringLiteral("a"), 600)});
    notifier.cancelPlanNotices();
    notifier.scheduleDayPrompts(8, 21, true);
    notifier.post(QStringLiteral("t"), QStringLiteral("b"));
    EXPECT_TRUE(center.log().isEmpty()) << center.log().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(notifier.asked());

    Notifier none;
    none.requestAuthorizationIfNeeded();
    none.schedule(60, QStringLiteral("t"), QStringLiteral("b"));
    EXPECT_FALSE(none.asked());
}

TEST_F(NotifierTest, TapsOnPlanNoticesReachTheHandlerOnceEvenWhenTheyComeFirst)
{
    NoticeRoute route;
    route.listen(&center);
    QList<NoticeRoute::Tap> seen;
    const DayPlan first = plan(QStringLiteral("a"), 600), second = plan(QStringLiteral("b"), 660);
    planNotices({first, second});
    clock.advance(75 * 60 * 1000);

    // Two taps before a handler: only the later one is delivered, once.
    ASSERT_TRUE(center.tap(QStringLiteral("kiv.plan.") + KivJSON::uuidString(first.id)));
    ASSERT_TRUE(center.tap(QStringLiteral("kiv.plan.arrive.") + KivJSON::uuidString(second.id)));
    ASSERT_TRUE(route.pending());
    route.setOnPlan([&](const QUuid &id, const QString &day) { seen << NoticeRoute::Tap{id, day}; });
    EXPECT_EQ(seen, (QList<NoticeRoute::Tap>{{second.id, QStringLiteral("2025-03-04")}}));
    EXPECT_FALSE(route.pending());

    // With a handler in place a tap goes through at once.
    ASSERT_TRUE(center.tap(QStringLiteral("kiv.plan.") + KivJSON::uuidString(first.id)));
    EXPECT_EQ(seen.size(), 2);

    // Taps that name no plan change nothing.
    const QString id = KivJSON::uuidString(first.id);
    const QVariantMap notPlans[] = {
        {},
        {{QStringLiteral("planID"), QStringLiteral("not-a-uuid")}, {QStringLiteral("day"), QStringLiteral("2025-03-04")}},
        {{QStringLiteral("planID"), id}},
        {{QStringLiteral("planID"), id}, {QStringLiteral("day"), 20250304}},
        {{QStringLiteral("planID"), QUuid::fromString(id)}, {QStringLiteral("day"), QStringLiteral("2025-03-04")}},
    };
    route.setOnPlan({});
    for (const QVariantMap &info : notPlans) {
        EXPECT_FALSE(route.route(info));
        EXPECT_FALSE(route.pending());
    }
    // A handler removed keeps a later tap pending.
    EXPECT_TRUE(route.route({{QStringLiteral("planID"), id.toLower()}, {QStringLiteral("day"), QStringLiteral("2025-03-05")}}));
    EXPECT_EQ(route.pending(), (NoticeRoute::Tap{first.id, QStringLiteral("2025-03-05")}));
    EXPECT_EQ(seen.size(), 2);
}
