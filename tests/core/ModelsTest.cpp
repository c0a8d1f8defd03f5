#include "core/KivJSON.h"
#include "core/Models.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QDateTime at(const char *iso)
{
    return *KivJSON::parseDate(QString::fromLatin1(iso));
}

SessionRecord plainRecord()
{
    SessionRecord r;
    r.id = QUuid::fromString(QStringLiteral("0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d"));
    r.phase = Phase::focus;
    r.title = QStringLiteral("読む");
    r.start = at("2025-03-04T09:00:00.000Z");
    r.end = at("2025-03-04T09:25:00.000Z");
    r.completed = true;
    return r;
}

QStringList keysInWrittenOrder(const QByteArray &json)
{
    static const QRegularExpression key(QStringLiteral("^\\s{4}\"([A-Za-z]+)\""), QRegularExpression::MultilineOption);
    QStringList out;
    for (auto it = key.globalMatch(QString::fromUtf8(json)); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

QJsonObject parsed(const char *json)
{
    return KivJSON::parse(QByteArray(json)).object();
}

} // namespace

TEST(SessionRecordJson, WritesSortedKeysAndOnlyPresentOptionals)
{
    SessionRecord r = plainRecord();
    const QByteArray bare = KivJSON::encode(r.toJson());
    EXPECT_EQ(keysInWrittenOrder(bare),
              (QStringList{"completed", "end", "id", "phase", "start", "title"}));
    EXPECT_FALSE(bare.contains("null"));
    EXPECT_TRUE(bare.contains("\"0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D\""));

    r.calendarEventID = QStringLiteral("ev1");
    r.taskRef = TaskRef{QStringLiteral("local"), QStringLiteral("T1"), std::nullopt};
    r.deletedAt = at("2025-03-05T00:00:00Z");
    r.manual = false;
    r.editedAt = at("2025-03-05T00:00:01Z");
    const QByteArray full = KivJSON::encode(r.toJson());
    EXPECT_EQ(keysInWrittenOrder(full),
              (QStringList{"calendarEventID", "completed", "deletedAt", "editedAt", "end", "id", "manual", "phase",
                           "start", "taskRef", "title"}));
    EXPECT_FALSE(full.contains("listID")) << "a missing list id is left out, never null";
    EXPECT_EQ(SessionRecord::fromJson(KivJSON::parse(full).object()), r);
}

TEST(SessionRecordJson, ReadsEitherCaseAndNullAsAbsent)
{
    const SessionRecord r = SessionRecord::fromJson(parsed(R"({
        "id": "0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d", "phase": "shortBreak", "title": "",
        "start": "2025-03-04T09:00:00Z", "end": "2025-03-04T09:05:00.250Z", "completed": false,
        "manual": null, "taskRef": null, "calendarEventID": null, "somethingNew": 42 })"));
    EXPECT_EQ(KivJSON::uuidString(r.id), QStringLiteral("0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D"));
    EXPECT_EQ(r.phase, Phase::shortBreak);
    EXPECT_FALSE(r.manual.has_value());
    EXPECT_FALSE(r.taskRef.has_value());
    EXPECT_FALSE(r.calendarEventID.has_value());
    EXPECT_EQ(r.end.toMSecsSinceEpoch() % 1000, 250);
}

TEST(SessionRecordJson, RejectsMissingWrongTypedAndUnknownValues)
{
    const char *base = R"({"id":"0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D","phase":"focus","title":"t",
        "start":"2025-03-04T09:00:00Z","end":"2025-03-04T09:05:00Z","completed":true})";
    struct Case
    {
        const char *name;
        const char *key;
        QJsonValue value; // undefined removes the key
    };
    const Case cases[] = {
        {"completed missing", "completed", QJsonValue(QJsonValue::Undefined)},
        {"completed as number", "completed", 1},
        {"phase in other case", "phase", QStringLiteral("Focus")},
        {"unknown phase", "phase", QStringLiteral("nap")},
        {"title as number", "title", 3},
        {"id not a uuid", "id", QStringLiteral("1234")},
        {"date without time", "start", QStringLiteral("2025-03-04")},
        {"date as number", "end", 1741078800},
        {"manual as string", "manual", QStringLiteral("yes")},
        {"taskRef without id", "taskRef", QJsonObject{{"source", "local"}}},
    };
    ASSERT_NO_THROW(SessionRecord::fromJson(parsed(base)));
    for (const Case &c : cases) {
        QJsonObject o = parsed(base);
        if (c.value.isUndefined())
            o.remove(QString::fromLatin1(c.key));
        else
            o.insert(QString::fromLatin1(c.key), c.value);
        EXPECT_THROW(SessionRecord::fromJson(o), KivJSON::DecodeError) << c.name;
    }
}

TEST(SessionRecord, HandWrittenRule)
{
    struct Case
    {
        const char *name;
        std::optional<bool> manual;
        bool withTask;
        const char *end;
        bool expected;
    };
    const Case cases[] = {
        {"whole minutes, no task", std::nullopt, false, "2025-03-04T09:25:00.000Z", true},
        {"half a second off", std::nullopt, false, "2025-03-04T09:25:00.500Z", false},
        {"with a task", std::nullopt, true, "2025-03-04T09:25:00.000Z", false},
        {"manual false wins", false, false, "2025-03-04T09:25:00.000Z", false},
        {"manual true wins", true, true, "2025-03-04T09:25:00.500Z", true},
    };
    for (const Case &c : cases) {
        SessionRecord r = plainRecord();
        r.manual = c.manual;
        r.end = at(c.end);
        if (c.withTask)
            r.taskRef = TaskRef{QStringLiteral("local"), QStringLiteral("x"), std::nullopt};
        EXPECT_EQ(r.isHandWritten(), c.expected) << c.name;
    }
}

TEST(TaskRefJson, ListIdOptionalAndEquality)
{
    const TaskRef bare = TaskRef::fromJson(parsed(R"({"source":"reminders","id":"R1"})"));
    EXPECT_FALSE(bare.listID.has_value());
    EXPECT_FALSE(bare.toJson().contains(QStringLiteral("listID")));
    const TaskRef listed = TaskRef::fromJson(parsed(R"({"source":"reminders","id":"R1","listID":"L"})"));
    EXPECT_NE(bare, listed);
    EXPECT_EQ(TaskRef::fromJson(parsed(R"({"source":"reminders","id":"R1","listID":null})")), bare);
    EXPECT_EQ(keysInWrittenOrder(KivJSON::encode(listed.toJson())), (QStringList{"id", "listID", "source"}));
}
