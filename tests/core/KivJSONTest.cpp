#include "core/KivJSON.h"
#include "core/Models.h"

#include <QTimeZone>
#include <variant>

#include <gtest/gtest.h>

TEST(KivJSONDates, ReadsWithOrWithoutFractionAndAnyOffset)
{
    struct Case
    {
        const char *text;
        qint64 msecsSinceEpoch;
        const char *writtenBack;
    };
    const Case cases[] = {
        {"2025-03-04T05:06:07.089Z", 1741064767089, "2025-03-04T05:06:07.089Z"},
        {"2025-03-04T05:06:07Z", 1741064767000, "2025-03-04T05:06:07.000Z"},
        {"2025-03-04T14:06:07.089+09:00", 1741064767089, "2025-03-04T05:06:07.089Z"},
        {"2025-03-03T23:06:07.5-06:00", 1741064767500, "2025-03-04T05:06:07.500Z"},
    };
    for (const Case &c : cases) {
        const auto d = KivJSON::parseDate(QString::fromLatin1(c.text));
        ASSERT_TRUE(d.has_value()) << c.text;
        EXPECT_EQ(d->toMSecsSinceEpoch(), c.msecsSinceEpoch) << c.text;
        EXPECT_EQ(KivJSON::dateString(*d), QString::fromLatin1(c.writtenBack)) << c.text;
    }
}

TEST(KivJSONDates, RejectsTextsThatAreNotFullDateTimes)
{
    for (const char *text : {"2025-03-04", "2025-03-04T05:06:07", "2025-03-04 05:06:07Z", "2025-13-04T05:06:07Z",
                             "2025-02-30T05:06:07Z", "yesterday", ""}) {
        EXPECT_FALSE(KivJSON::parseDate(QString::fromLatin1(text)).has_value()) << text;
    }
    try {
        KivJSON::date(QJsonValue(QStringLiteral("2025-03-04")));
        FAIL() << "a date without a time must not read";
    } catch (const KivJSON::DecodeError &e) {
        EXPECT_EQ(e.key, QStringLiteral("日付として読めません: {0}"));
        EXPECT_EQ(e.args, QStringList{QStringLiteral("2025-03-04")});
    }
    EXPECT_THROW(KivJSON::date(QJsonValue(1741064767)), KivJSON::DecodeError);
}

TEST(KivJSONDates, OnlyInstantsWithinTheFourDigitYearsReadAndEveryWrittenDateReadsBack)
{
    // Each of these is a valid text whose instant leaves the four-digit years
    // once taken to UTC: it could never be written back as it was read.
    for (const char *text : {"9999-12-31T23:00:00-05:00", "9999-12-31T23:59:59.9999Z", "9999-12-31T23:59:59.9996Z",
                             "0001-01-01T00:30:00+01:00", "0001-01-01T00:00:00.000+00:01", "0000-12-31T23:00:00Z"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(KivJSON::parseDate(QString::fromLatin1(text)).has_value());
        EXPECT_THROW(KivJSON::date(QJsonValue(QString::fromLatin1(text))), KivJSON::DecodeError);
    }
    // One such element fails the whole list, as any malformed date does.
    auto records = [](const char *start) {
        return QByteArray(R"([{"id": "6B29FC40-CA47-1067-B31D-00DD010662DA", "phase": "focus", "title": "t", "start": ")")
               + start + R"(", "end": "9999-12-31T23:59:59Z", "completed": true}])";
    };
    EXPECT_NO_THROW(KivJSON::decodeArray<SessionRecord>(records("9999-12-31T18:00:00-05:00"), &SessionRecord::fromJson));
    EXPECT_THROW(KivJSON::decodeArray<SessionRecord>(records("9999-12-31T23:00:00-05:00"), &SessionRecord::fromJson),
                 KivJSON::DecodeError);

    struct Case
    {
        QDateTime date;
        const char *written;
    };
    const Case cases[] = {
        {QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC), "9999-12-31T23:59:59.999Z"},
        {QDateTime(QDate(9999, 12, 31), QTime(18, 0), QTimeZone(-5 * 3600)), "9999-12-31T23:00:00.000Z"},
        {QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC), "0001-01-01T00:00:00.000Z"},
        // Beyond either end: the nearest date that can be written.
        {QDateTime(QDate(9999, 12, 31), QTime(23, 0), QTimeZone(-5 * 3600)), "9999-12-31T23:59:59.999Z"},
        {QDateTime(QDate(12000, 6, 1), QTime(8, 0), Qt::UTC), "9999-12-31T23:59:59.999Z"},
        {QDateTime(QDate(1, 1, 1), QTime(0, 30), QTimeZone(3600)), "0001-01-01T00:00:00.000Z"},
        {QDateTime(QDate(-300, 1, 1), QTime(0, 0), Qt::UTC), "0001-01-01T00:00:00.000Z"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.written);
        const QString text = KivJSON::dateString(c.date);
        EXPECT_EQ(text, QString::fromLatin1(c.written));
        EXPECT_TRUE(KivJSON::parseDate(text).has_value());
    }
}

TEST(KivJSONEncoding, SameValueSameBytesWithSortedKeys)
{
    QJsonObject a{{"zeta", 1}, {"alpha", "x"}, {"mid", QJsonArray{1, 2}}};
    QJsonObject b;
    b.insert("mid", QJsonArray{1, 2});
    b.insert("alpha", "x");
    b.insert("zeta", 1);
    const QByteArray bytes = KivJSON::encode(a);
    EXPECT_EQ(bytes, KivJSON::encode(b));
    EXPECT_LT(bytes.indexOf("alpha"), bytes.indexOf("mid"));
    EXPECT_LT(bytes.indexOf("mid"), bytes.indexOf("zeta"));
}

TEST(KivJSONReading, NullAndMissingAreAbsentWrongTypesFail)
{
    const QJsonObject o{{"n", QJsonValue::Null}, {"s", "text"}, {"i", 2.5}, {"b", 1}};
    EXPECT_FALSE(KivJSON::optString(o, "n").has_value());
    EXPECT_FALSE(KivJSON::optString(o, "absent").has_value());
    EXPECT_THROW(KivJSON::requireString(o, "n"), KivJSON::DecodeError);
    EXPECT_THROW(KivJSON::optInt(o, "i"), KivJSON::DecodeError) << "2.5 is no integer";
    EXPECT_THROW(KivJSON::optBool(o, "b"), KivJSON::DecodeError) << "1 is no bool";
    EXPECT_THROW(KivJSON::optNumber(o, "s"), KivJSON::DecodeError);
    EXPECT_THROW(KivJSON::parse("{not json"), KivJSON::DecodeError);
}

TEST(KivJSONReading, LongListsDecodeInOrderAndOneBadElementFailsAll)
{
    QJsonArray items;
    for (int i = 0; i < 20000; ++i)
        items.append(QJsonObject{{"n", i}});
    const std::function<int(const QJsonObject &)> read = [](const QJsonObject &o) {
        if (o.value("n").isString())
            throw KivJSON::DecodeError{o.value("n").toString()};
        return int(KivJSON::requireInt(o, "n"));
    };
    const QList<int> decoded = KivJSON::decodeList<int>(items, read);
    ASSERT_EQ(decoded.size(), 20000);
    for (int i = 0; i < decoded.size(); ++i)
        ASSERT_EQ(decoded[i], i);

    // Bad elements in two slices: the first by position is the one reported.
    items[15000] = QJsonObject{{"n", "late"}};
    items[12] = QJsonObject{{"n", "early"}};
    try {
        KivJSON::decodeList<int>(items, read);
        FAIL() << "a bad element must fail the whole list";
    } catch (const KivJSON::DecodeError &e) {
        EXPECT_EQ(e.key, QStringLiteral("early"));
    }
    items[12] = QJsonObject{{"n", 12}};
    items[15000] = QJsonValue(7);
    EXPECT_THROW(KivJSON::decodeList<int>(items, read), KivJSON::DecodeError) << "a non-object element";
}

namespace {
QByteArray recordsDocument(int count, const std::function<QJsonObject(int, QJsonObject)> &edit = {})
{
    QJsonArray items;
    const QDateTime base(QDate(2025, 3, 4), QTime(9, 0), Qt::UTC);
    for (int i = 0; i < count; ++i) {
        SessionRecord r;
        r.id = QUuid::createUuid();
        r.title = QStringLiteral("[{\"%1\"}], \\ \"],[{\" 漢").arg(i);
        r.start = base.addSecs(i * 60);
        r.end = r.start.addSecs(30);
        QJsonObject o = r.toJson();
        items.append(edit ? edit(i, o) : o);
    }
    return KivJSON::encode(items);
}

std::variant<QList<SessionRecord>, QString> viaWhole(const QByteArray &bytes)
{
    try {
        const QJsonDocument doc = KivJSON::parse(bytes);
        if (!doc.isArray())
            return QStringLiteral("配列ではありません|");
        return KivJSON::decodeList<SessionRecord>(doc.array(), &SessionRecord::fromJson);
    } catch (const KivJSON::DecodeError &e) {
        return e.key + QLatin1Char('|') + e.args.join(QLatin1Char('|'));
    }
}

std::variant<QList<SessionRecord>, QString> viaElements(const QByteArray &bytes)
{
    try {
        return KivJSON::decodeArray<SessionRecord>(bytes, &SessionRecord::fromJson);
    } catch (const KivJSON::DecodeError &e) {
        return e.key + QLatin1Char('|') + e.args.join(QLatin1Char('|'));
    }
}
} // namespace

// Long files are read element by element; the results and the failures must
// be exactly those of reading the whole document.
TEST(KivJSONReading, ArraysReadElementByElementAgreeWithTheWholeDocument)
{
    const QByteArray good = recordsDocument(3000);
    const auto ranges = KivJSON::arrayElements(good);
    ASSERT_TRUE(ranges.has_value());
    EXPECT_EQ(ranges->size(), 3000) << "brackets, commas and escaped quotes inside titles are not boundaries";
    EXPECT_EQ(viaElements(good), viaWhole(good));

    struct Case
    {
        const char *name;
        QByteArray bytes;
    };
    QByteArray syntax = good;
    syntax.replace(syntax.lastIndexOf("\"completed\": false"), 18, "\"completed\": fals");
    QByteArray missingComma = good;
    missingComma.replace(missingComma.indexOf("},\n"), 3, "}\n");
    const Case cases[] = {
        {"a bad phase late in the list",
         recordsDocument(3000, [](int i, QJsonObject o) {
             if (i == 2500)
                 o.insert("phase", "nap");
             return o;
         })},
        {"a syntax error inside one element", syntax},
        {"two elements without a comma", missingComma},
        {"garbage after the array", good + "x"},
        {"an object at the top", QByteArray("{\"a\": [") + good + "]}"},
        {"an element that is not an object",
         QByteArray(good).replace(ranges->at(7).first, ranges->at(7).second - ranges->at(7).first, "7")},
        {"empty array", "[\n]\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(viaElements(c.bytes), viaWhole(c.bytes)) << c.name;
}
