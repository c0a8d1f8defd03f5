// Reading and writing one local task, including files of older versions.
#include "core/KivJSON.h"
#include "stores/LocalTask.h"

#include <gtest/gtest.h>

namespace {

const char *kId = "6F1C2B3A-1111-4222-8333-944455556666";

QJsonObject parse(const QByteArray &json)
{
    return KivJSON::parse(json).object();
}

QByteArray minimal(const QByteArray &extra = {})
{
    return "{\"id\":\"" + QByteArray(kId) + "\",\"title\":\"t\",\"createdAt\":\"2025-03-04T05:06:07.089Z\""
           + (extra.isEmpty() ? QByteArray() : "," + extra) + "}";
}

TEST(LocalTask, MinimalObjectReadsWithDefaultsAndWritesThemBack)
{
    const LocalTask t = LocalTask::fromJson(parse(minimal()));
    EXPECT_EQ(KivJSON::uuidString(t.id), kId);
    EXPECT_FALSE(t.isSomeday || t.isDaily || t.isOccasional);
    EXPECT_TRUE(t.doneDays.isEmpty());
    EXPECT_EQ(t.updatedAt, t.createdAt);
    EXPECT_FALSE(t.due || t.completedAt || t.notes || t.estimateMinutes || t.abandonedAt || t.reviewedAt
                 || t.deletedAt || t.order || t.orderedAt || t.origin);

    const QJsonObject back = t.toJson();
    EXPECT_EQ(back.keys(), (QStringList{"createdAt", "doneDays", "id", "isDaily", "isOccasional", "isSomeday",
                                        "title", "updatedAt"}));
    EXPECT_EQ(back.value("updatedAt").toString(), QStringLiteral("2025-03-04T05:06:07.089Z"));
    EXPECT_EQ(back.value("doneDays").toArray().size(), 0);
}

TEST(LocalTask, EstimateReading)
{
    struct Case
    {
        const char *name;
        QByteArray extra;
        std::optional<int> minutes;
    };
    const Case cases[] = {
        {"legacy units of 25 minutes", "\"estimate\":2", 50},
        {"the newer key wins", "\"estimate\":2,\"estimateMinutes\":40", 40},
        {"the older key is not read beside the newer", "\"estimate\":\"x\",\"estimateMinutes\":40", 40},
        {"a null newer key falls back to the older", "\"estimate\":3,\"estimateMinutes\":null", 75},
        {"both null", "\"estimate\":null", std::nullopt},
        {"a legacy value too large for minutes is dropped", "\"estimate\":100000000000", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const LocalTask t = LocalTask::fromJson(parse(minimal(c.extra)));
        EXPECT_EQ(t.estimateMinutes, c.minutes);
        const QJsonObject back = t.toJson();
        EXPECT_FALSE(back.contains("estimate")) << "the older key is never written";
        EXPECT_EQ(back.contains("estimateMinutes"), c.minutes.has_value());
    }
}

TEST(LocalTask, LenientAboutAbsenceStrictAboutTypes)
{
    struct Case
    {
        const char *name;
        QByteArray json;
        bool reads;
    };
    const Case cases[] = {
        {"null flag reads as false", minimal("\"isDaily\":null"), true},
        {"null done days read as none", minimal("\"doneDays\":null"), true},
        {"a string in a flag fails", minimal("\"isDaily\":\"yes\""), false},
        {"a number in done days fails", minimal("\"doneDays\":3"), false},
        {"a number inside done days fails", minimal("\"doneDays\":[3]"), false},
        {"a string estimate fails", minimal("\"estimate\":\"2\""), false},
        {"an unreadable optional date fails", minimal("\"due\":\"2025-03-04\""), false},
        {"an unknown key is ignored", minimal("\"colour\":\"red\""), true},
        {"no creation time fails, even with updatedAt",
         "{\"id\":\"" + QByteArray(kId) + "\",\"title\":\"t\",\"updatedAt\":\"2025-03-04T05:06:07Z\"}", false},
        {"no title fails", "{\"id\":\"" + QByteArray(kId) + "\",\"createdAt\":\"2025-03-04T05:06:07Z\"}", false},
        {"an id that is no UUID fails",
         "{\"id\":\"abc\",\"title\":\"t\",\"createdAt\":\"2025-03-04T05:06:07Z\"}", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        bool read = true;
        try {
            LocalTask::fromJson(parse(c.json));
        } catch (const KivJSON::DecodeError &) {
            read = false;
        }
        EXPECT_EQ(read, c.reads);
    }
}

TEST(LocalTask, FullRoundTrip)
{
    const LocalTask t = LocalTask::fromJson(parse(minimal(
        "\"due\":\"2025-03-05T00:00:00Z\",\"completedAt\":\"2025-03-06T01:02:03.004Z\",\"notes\":\"n\","
        "\"estimateMinutes\":30,\"isSomeday\":true,\"abandonedAt\":\"2025-03-07T00:00:00Z\",\"isDaily\":true,"
        "\"isOccasional\":true,\"doneDays\":[\"2025-03-04\",\"2025-03-05\"],\"updatedAt\":\"2025-03-08T00:00:00Z\","
        "\"reviewedAt\":\"2025-03-09T00:00:00Z\",\"deletedAt\":\"2025-03-10T00:00:00Z\",\"order\":2.5,"
        "\"orderedAt\":\"2025-03-11T00:00:00Z\",\"origin\":{\"source\":\"reminders\",\"id\":\"R1\"}")));
    EXPECT_EQ(t.order, 2.5);
    ASSERT_TRUE(t.origin);
    EXPECT_FALSE(t.origin->listID);
    EXPECT_FALSE(t.toJson().value("origin").toObject().contains("listID"));
    EXPECT_EQ(LocalTask::fromJson(t.toJson()), t);
    EXPECT_EQ(t.toJson().size(), 18);
}

} // namespace
