#include "SyncFixtures.h"
#include "core/KivJSON.h"
#include "sync/SyncBundle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace SyncFixtures;

namespace {

QByteArray doc(const char *json)
{
    return QByteArray(json);
}

SharedSettings someSettings()
{
    SharedSettings s;
    s.updatedAt = at(7);
    s.ambienceScene = QStringLiteral("rain");
    s.bell = QStringLiteral("Keisu");
    s.externalTaskMode = QStringLiteral("adopt");
    s.focusVisual = QStringLiteral("ring");
    s.recordsToCalendar = true;
    s.visibleCalendarNames = QStringList{QStringLiteral("仕事")};
    return s;
}

} // namespace

TEST(SyncBundleTest, MinimalDocumentsReadLeniently)
{
    const char *minimal = R"({"device":"庵","savedAt":"2025-03-04T09:00:00Z","records":[],"tasks":[]})";
    const char *nulls =
        R"({"device":"庵","savedAt":"2025-03-04T09:00:00.250Z","records":[],"tasks":[],"days":null,"settings":null,"version":null,"extra":1})";
    for (const char *json : {minimal, nulls}) {
        SCOPED_TRACE(json);
        const SyncBundle b = SyncBundle::decode(doc(json));
        EXPECT_EQ(b.version, 1);
        EXPECT_EQ(b.device, QStringLiteral("庵"));
        EXPECT_TRUE(b.days.isEmpty());
        EXPECT_FALSE(b.settings.has_value());
    }
    EXPECT_EQ(SyncBundle::decode(doc(nulls)).savedAt, at(0).addMSecs(250));
}

TEST(SyncBundleTest, UnreadableDocumentsFailWhole)
{
    const char *cases[] = {
        R"({"savedAt":"2025-03-04T09:00:00Z","records":[],"tasks":[]})",                        // no device
        R"({"device":"庵","savedAt":"2025-03-04","records":[],"tasks":[]})",                     // date only
        R"({"device":"庵","savedAt":"yesterday","records":[],"tasks":[]})",                      // no date
        R"({"device":"庵","savedAt":"2025-03-04T09:00:00Z","records":{},"tasks":[]})",           // wrong type
        R"({"device":"庵","savedAt":"2025-03-04T09:00:00Z","records":[{"id":"x"}],"tasks":[]})", // bad element
        R"({"device":"庵","savedAt":"2025-03-04T09:00:00Z","records":[],"tasks":[],"version":"1"})",
        R"([1,2])",
        R"(not json)",
        // A key that is not UTF-8, at the top level and among the lists.
        "{\"device\":\"x\",\"savedAt\":\"2025-03-04T09:00:00Z\",\"records\":[],\"tasks\":[],\"ex\xfftra\":1}",
        "{\"device\":\"x\",\"savedAt\":\"2025-03-04T09:00:00Z\",\"records\":[],\"tasks\":[],\"d\xc3" "ays\":[]}",
    };
    for (const char *json : cases) {
        SCOPED_TRACE(json);
        EXPECT_THROW(SyncBundle::decode(doc(json)), KivJSON::DecodeError);
    }
    // Whatever the plain reading cannot parse has no top level either.
    EXPECT_FALSE(SyncBundle::topLevel(doc(cases[std::size(cases) - 2])).has_value());
}

TEST(SyncBundleTest, NewerVersionsDecodeAndAreDeclaredWithoutDecoding)
{
    const SyncBundle b =
        SyncBundle::decode(doc(R"({"version":2,"device":"庵","savedAt":"2025-03-04T09:00:00Z","records":[],"tasks":[]})"));
    EXPECT_EQ(b.version, 2);

    // The declared version is read from the top level alone, so a newer
    // document whose elements this version cannot read is still recognised.
    struct Case
    {
        const char *json;
        std::optional<double> version;
    };
    const Case cases[] = {
        {R"({"version":3,"records":"something new"})", 3},
        {R"({"records":[]})", 1},
        {R"({"version":null})", 1},
        {R"({"version":0})", 0},
        {R"({"version":"2"})", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(SyncBundle::declaredVersion(KivJSON::parse(doc(c.json)).object()), c.version);
    }
}

TEST(SyncBundleTest, WritesVersionOneWithSortedKeysAndRoundTrips)
{
    SyncBundle empty;
    empty.device = QStringLiteral("庵");
    empty.savedAt = at(0);
    const QByteArray bytes = *empty.encode();
    const QJsonObject o = KivJSON::parse(bytes).object();
    EXPECT_EQ(o.keys(), (QStringList{"days", "device", "records", "savedAt", "tasks", "version"}));
    EXPECT_TRUE(o.value("records").isArray());
    EXPECT_EQ(o.value("version").toInt(), 1);
    EXPECT_TRUE(bytes.contains("\"savedAt\": \"2025-03-04T09:00:00.000Z\""));

    SyncBundle full = empty;
    full.records = {record(1, 0, QStringLiteral("坐"), 3, std::nullopt, QStringLiteral("ev"))};
    full.tasks = {task(2, 0, QStringLiteral("掃除"), 4)};
    full.tasks[0].doneDays = {QStringLiteral("2025-03-01")};
    full.days = {day(QStringLiteral("2025-03-04"), 5, QStringLiteral("静かに"), {plan(1, QStringLiteral("写経"))})};
    full.settings = someSettings();
    const QByteArray fullBytes = *full.encode();
    EXPECT_EQ(SyncBundle::decode(fullBytes), full);
    EXPECT_TRUE(KivJSON::parse(fullBytes).object().contains("settings"));
}

TEST(SyncBundleTest, RefusesNumbersJsonCannotCarry)
{
    SyncBundle b;
    b.device = QStringLiteral("庵");
    b.savedAt = at(0);
    b.tasks = {task(1, 0, QStringLiteral("x"), 0)};
    b.tasks[0].order = std::numeric_limits<double>::quiet_NaN();
    QString why;
    EXPECT_FALSE(b.encode(&why).has_value());
    EXPECT_TRUE(why.contains(QStringLiteral("order")));

    b.tasks[0].order = 2;
    b.settings = someSettings();
    b.settings->ambienceVolume = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(b.encode().has_value());
}
