// Day notes and plans: their JSON form and the duplicate-plan rule.
#include "StoreFixture.h"

#include "core/KivJSON.h"
#include "stores/DayNote.h"

namespace {

class DayNoteTest : public StoreFixture
{
};

QJsonObject parse(const QByteArray &json)
{
    return KivJSON::parse(json).object();
}

TEST_F(DayNoteTest, PlanDefaultsAreReadAndWrittenBack)
{
    const DayPlan p = DayPlan::fromJson(
        parse("{\"id\":\"6F1C2B3A-1111-4222-8333-944455556666\",\"title\":\"t\",\"startMinutes\":540,\"minutes\":30}"));
    EXPECT_FALSE(p.isDaily);
    EXPECT_TRUE(p.timed);
    EXPECT_FALSE(p.taskID || p.eventID);
    EXPECT_EQ(p.toJson().keys(), (QStringList{"id", "isDaily", "minutes", "startMinutes", "timed", "title"}));
}

TEST_F(DayNoteTest, NotesThatDoNotRead)
{
    const QByteArray plan = "{\"id\":\"6F1C2B3A-1111-4222-8333-944455556666\",\"title\":\"t\",\"startMinutes\":1,"
                            "\"minutes\":2}";
    struct Case
    {
        const char *name;
        QByteArray json;
        bool reads;
    };
    const Case cases[] = {
        {"complete", "{\"day\":\"2025-03-04\",\"intention\":\"\",\"reflection\":\"\",\"plans\":[" + plan
                         + "],\"updatedAt\":\"2025-03-04T00:00:00Z\",\"guide\":null}",
         true},
        {"no plans", "{\"day\":\"2025-03-04\",\"intention\":\"\",\"reflection\":\"\","
                     "\"updatedAt\":\"2025-03-04T00:00:00Z\"}",
         false},
        {"a plan without an id", "{\"day\":\"2025-03-04\",\"intention\":\"\",\"reflection\":\"\",\"plans\":[{\"title\":"
                                 "\"t\",\"startMinutes\":1,\"minutes\":2}],\"updatedAt\":\"2025-03-04T00:00:00Z\"}",
         false},
        {"a fractional start", "{\"day\":\"2025-03-04\",\"intention\":\"\",\"reflection\":\"\",\"plans\":[{\"id\":"
                               "\"6F1C2B3A-1111-4222-8333-944455556666\",\"title\":\"t\",\"startMinutes\":1.5,"
                               "\"minutes\":2}],\"updatedAt\":\"2025-03-04T00:00:00Z\"}",
         false},
        {"no updatedAt", "{\"day\":\"2025-03-04\",\"intention\":\"\",\"reflection\":\"\",\"plans\":[]}", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        bool read = true;
        try {
            const DayNote n = DayNote::fromJson(parse(c.json));
            EXPECT_FALSE(n.guide) << "a null guide reads as none";
            EXPECT_FALSE(n.toJson().contains("guide"));
        } catch (const KivJSON::DecodeError &) {
            read = false;
        }
        EXPECT_EQ(read, c.reads);
    }
}

TEST_F(DayNoteTest, DayKeysAreLocalDates)
{
    EXPECT_EQ(DayNote::key(at(2025, 12, 31, 23, 30)), QStringLiteral("2025-12-31"));
    EXPECT_EQ(DayNote::key(at(2025, 1, 1, 0, 0)), QStringLiteral("2025-01-01"));
    EXPECT_EQ(DayNote::dateOfKey("2025-12-31"), at(2025, 12, 31));
    for (const char *bad : {"2025-2-03", "2025-02-30", "20250203", "2025-02-03 ", "2025-02-03\n", ""})
        EXPECT_FALSE(DayNote::dateOfKey(bad)) << bad;
}

TEST_F(DayNoteTest, TimedAndUntimedPlansKeepStoredOrder)
{
    DayNote n = DayNote::empty("2025-03-04");
    n.plans = {DayPlan{.title = "600", .startMinutes = 600}, DayPlan{.title = "day", .timed = false},
               DayPlan{.title = "540", .startMinutes = 540}};
    ASSERT_EQ(n.timedPlans().size(), 2);
    EXPECT_EQ(n.timedPlans()[0].title, QStringLiteral("600"));
    EXPECT_EQ(n.timedPlans()[1].title, QStringLiteral("540"));
    EXPECT_EQ(n.untimedPlans().size(), 1);
}

TEST_F(DayNoteTest, DuplicatePlanRule)
{
    const QUuid t1 = QUuid::createUuid(), t2 = QUuid::createUuid();
    const QUuid same = QUuid::createUuid();
    auto timed = [](QString name, std::optional<QUuid> task, int start) {
        return DayPlan{.taskID = task, .title = name, .startMinutes = start};
    };
    auto dayOnly = [](QString name, std::optional<QUuid> task) {
        return DayPlan{.taskID = task, .title = name, .timed = false};
    };
    struct Case
    {
        const char *name;
        QList<DayPlan> plans;
        std::optional<QStringList> kept; // nothing: no change
    };
    DayPlan copy = timed("copy", t1, 540);
    copy.id = same;
    const Case cases[] = {
        {"one task twice at one start: the first stays",
         {timed("first", t1, 540), timed("second", t1, 540)},
         QStringList{"first"}},
        {"one task at two starts", {timed("a", t1, 540), timed("b", t1, 600)}, std::nullopt},
        {"a day-only plan after a timed one goes", {timed("timed", t1, 540), dayOnly("day", t1)}, QStringList{"timed"}},
        {"a day-only plan before a timed one goes", {dayOnly("day", t1), timed("timed", t1, 540)}, QStringList{"timed"}},
        {"two day-only plans: the first stays", {dayOnly("x", t1), dayOnly("y", t1)}, QStringList{"x"}},
        {"plans without a task always stay", {timed("a", std::nullopt, 540), timed("b", std::nullopt, 540)}, std::nullopt},
        {"two copies of one plan both stay", {copy, copy}, std::nullopt},
        {"different tasks at one start", {timed("a", t1, 540), timed("b", t2, 540), dayOnly("c", t2)},
         QStringList{"a", "b"}},
        {"no plans", {}, std::nullopt},
    };
    clock.advance(3600 * 1000);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DayNote n = DayNote::empty("2025-03-04");
        n.updatedAt = at(2025, 3, 1);
        n.plans = c.plans;
        const auto result = n.withoutDuplicatePlans();
        ASSERT_EQ(result.has_value(), c.kept.has_value());
        if (!result)
            continue;
        QStringList titles;
        for (const DayPlan &p : result->plans)
            titles << p.title;
        EXPECT_EQ(titles, *c.kept);
        EXPECT_EQ(result->updatedAt, clock.now());
    }
}

} // namespace
