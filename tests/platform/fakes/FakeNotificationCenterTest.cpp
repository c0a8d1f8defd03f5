#include "platform/fakes/FakeClock.h"
#include "platform/fakes/FakeNotificationCenter.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

NotificationRequest request(const QString &identifier, double seconds, const QVariantMap &userInfo = {})
{
    NotificationRequest r;
    r.identifier = identifier;
    r.title = identifier;
    r.userInfo = userInfo;
    r.trigger = NotificationTrigger::interval(seconds);
    return r;
}

struct FakeCenterTest : ::testing::Test
{
    FakeClock clock;
    void SetUp() override { Clock::setCurrent(&clock); }
    void TearDown() override { Clock::setCurrent(nullptr); }
};

} // namespace

TEST_F(FakeCenterTest, DeliversOnTheClockAndTapsCarryTheUserInfo)
{
    FakeNotificationCenter center;
    QSignalSpy taps(&center, &NotificationCenter::tapped);
    const QVariantMap info{{QStringLiteral("planID"), QStringLiteral("A")}, {QStringLiteral("day"), QStringLiteral("2025-03-04")}};
    center.add(request(QStringLiteral("kiv.plan.A"), 300, info));
    center.add(request(QStringLiteral("kiv.phase.end"), 60));
    EXPECT_FALSE(center.tap(QStringLiteral("kiv.plan.A"))) << "not shown yet";

    clock.advance(300'000);
    ASSERT_EQ(center.delivered().size(), 2);
    EXPECT_TRUE(center.pendingRequests().isEmpty());
    EXPECT_TRUE(center.tap(QStringLiteral("kiv.plan.A")));
    ASSERT_EQ(taps.size(), 1);
    EXPECT_EQ(taps[0][0].toString(), QStringLiteral("kiv.plan.A"));
    EXPECT_EQ(taps[0][1].toMap(), info);

    center.removeDeliveredNotifications(QStringList{QStringLiteral("kiv.plan.A")});
    EXPECT_FALSE(center.tap(QStringLiteral("kiv.plan.A")));
    EXPECT_EQ(center.log(), (QStringList{QStringLiteral("add kiv.plan.A"), QStringLiteral("add kiv.phase.end"),
                                         QStringLiteral("pendingRequests"),
                                         QStringLiteral("removeDelivered kiv.plan.A")}));
}

TEST_F(FakeCenterTest, PermissionWaitsForTheTestAndAnUnavailableCenterKeepsNothing)
{
    FakeNotificationCenter center;
    int granted = -1;
    center.requestAuthorization([&](bool g) { granted = g; });
    EXPECT_EQ(granted, -1);
    EXPECT_EQ(center.authorization(), NotificationCenter::Authorization::NotDetermined);
    center.answerAuthorization(true);
    EXPECT_EQ(granted, 1);
    EXPECT_EQ(center.authorization(), NotificationCenter::Authorization::Authorized);

    center.setAvailable(false);
    center.add(request(QStringLiteral("x"), 60));
    EXPECT_TRUE(center.pendingRequests().isEmpty());
}
