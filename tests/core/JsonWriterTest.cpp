#include "core/JsonWriter.h"
#include "core/KivJSON.h"
#include "core/Models.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <gtest/gtest.h>

// The program's writer must give exactly the bytes of Qt's indented form, so
// that files written before and after it, and by every device, agree.
TEST(JsonWriter, SameBytesAsQtIndentedForm)
{
    const QString tricky = QStringLiteral("q\"b\\s/\b\f\n\r\t\x01\x1f\x7f é 漢字 ") + QChar(0xD83D) + QChar(0xDE00)
                           + QStringLiteral(" lone:") + QChar(0xD800) + QStringLiteral("end");
    const QJsonObject nested{
        {"empty object", QJsonObject{}},
        {"empty array", QJsonArray{}},
        {"numbers", QJsonArray{0, -1, 25, 2.5, 0.1, 1e-7, 123456789012.0, -0.0, 1.0 / 3}},
        {"flags", QJsonArray{true, false, QJsonValue::Null}},
        {"text", tricky},
        {"deep", QJsonObject{{"a", QJsonArray{QJsonObject{{"b", QJsonArray{QJsonArray{}, QJsonObject{}}}}}}}},
        {"ключ", "unicode key"},
    };
    EXPECT_EQ(KivJSON::encode(nested), QJsonDocument(nested).toJson(QJsonDocument::Indented));
    const QJsonArray top{nested, QJsonArray{}, "x"};
    EXPECT_EQ(KivJSON::encode(top), QJsonDocument(top).toJson(QJsonDocument::Indented));
    EXPECT_EQ(KivJSON::encode(QJsonArray{}), QJsonDocument(QJsonArray{}).toJson(QJsonDocument::Indented));
    EXPECT_EQ(KivJSON::encode(QJsonObject{}), QJsonDocument(QJsonObject{}).toJson(QJsonDocument::Indented));

    QRandomGenerator random(7);
    for (int i = 0; i < 200; ++i) {
        const double d = (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-6, 14));
        const QJsonArray one{d};
        EXPECT_EQ(KivJSON::encode(one), QJsonDocument(one).toJson(QJsonDocument::Indented)) << d;
    }
}

TEST(JsonWriter, RecordsWrittenFromTheirFieldsMatchTheirObjects)
{
    SessionRecord r;
    r.id = QUuid::createUuid();
    r.phase = Phase::longBreak;
    r.title = QStringLiteral("\"quoted\"\n茶礼");
    r.start = QDateTime(QDate(2025, 3, 4), QTime(9, 0, 0, 123), Qt::UTC);
    r.end = r.start.addSecs(900);
    QList<SessionRecord> records{r};
    r.calendarEventID = QStringLiteral("E/1");
    r.taskRef = TaskRef{QStringLiteral("reminders"), QStringLiteral("R"), QStringLiteral("L")};
    r.deletedAt = r.end;
    r.manual = true;
    r.editedAt = r.end.addSecs(1);
    records << r;
    r.taskRef->listID.reset();
    records << r;
    for (const SessionRecord &one : records) {
        QByteArray direct;
        JsonWriter w(direct);
        one.writeJson(w, 0);
        direct.append('\n');
        EXPECT_EQ(direct, KivJSON::encode(one.toJson()));
    }
    EXPECT_EQ(KivJSON::encodeItems(records), KivJSON::encode(KivJSON::encodeList(records)));
    EXPECT_EQ(KivJSON::encodeItems(QList<SessionRecord>{}), KivJSON::encode(QJsonArray{}));

    // A long list is written in parts on several threads: same bytes, same order.
    QList<SessionRecord> many;
    for (int i = 0; i < 5000; ++i) {
        SessionRecord one = records[i % records.size()];
        one.id = QUuid::createUuid();
        one.title = QString::number(i);
        many << one;
    }
    EXPECT_EQ(KivJSON::encodeItems(many), KivJSON::encode(KivJSON::encodeList(many)));
}
