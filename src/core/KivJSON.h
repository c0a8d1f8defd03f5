#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QUuid>
#include <atomic>
#include <vector>
#include <functional>
#include <optional>

// The one JSON convention of every file and bundle the program writes:
// pretty-printed objects with sorted keys, dates as UTC ISO 8601 texts with
// exactly three fractional digits and "Z", read back with or without the
// fraction and with any zone offset. Dates lie between 0001-01-01T00:00:00Z
// and 9999-12-31T23:59:59.999Z: a text whose instant falls outside (by its
// offset or its rounded fraction) does not read, and a date outside is
// written as the nearest end, so that every date written reads back.
// Decoding is strict about types: a value of the wrong type fails, while
// null and a missing key both read as absent.
class JsonWriter;

namespace KivJSON {

// Thrown by the readers below; whoever decodes a whole file catches it.
// The reason is kept as a text key (Japanese, as for L) with what fills its
// "{0}", "{1}", so that decoding, which may run on a worker, never looks a
// text up; message() gives it in the interface language.
struct DecodeError
{
    QString key;
    QStringList args = {};
    QString message() const;
};

// Encoding ------------------------------------------------------------------
QByteArray encode(const QJsonObject &object);
QByteArray encode(const QJsonArray &array);
QString dateString(const QDateTime &date);
// A UUID as 36 upper-case hexadecimal digits with hyphens.
QString uuidString(const QUuid &id);

// Decoding ------------------------------------------------------------------
// A date text in the internet date-time form (zone required), else nothing.
std::optional<QDateTime> parseDate(const QString &text);
// The date of a value; fails with "日付として読めません: <text>" for a
// string no form reads, and with a type error for a value that is no string.
QDateTime date(const QJsonValue &value);
std::optional<QUuid> parseUuid(const QString &text);

// Parses a whole document; throws DecodeError when it is not JSON.
QJsonDocument parse(const QByteArray &bytes);
QJsonObject object(const QJsonValue &value, const QString &what = QString());
QJsonArray array(const QJsonValue &value, const QString &what = QString());

// Required keys: missing, null or wrong type throw.
QString requireString(const QJsonObject &o, const QString &key);
double requireNumber(const QJsonObject &o, const QString &key);
qint64 requireInt(const QJsonObject &o, const QString &key);
bool requireBool(const QJsonObject &o, const QString &key);
QDateTime requireDate(const QJsonObject &o, const QString &key);
QUuid requireUuid(const QJsonObject &o, const QString &key);
QJsonObject requireObject(const QJsonObject &o, const QString &key);
QJsonArray requireArray(const QJsonObject &o, const QString &key);

// Optional keys: missing or null give nothing; a wrong type throws.
std::optional<QString> optString(const QJsonObject &o, const QString &key);
std::optional<double> optNumber(const QJsonObject &o, const QString &key);
std::optional<qint64> optInt(const QJsonObject &o, const QString &key);
std::optional<bool> optBool(const QJsonObject &o, const QString &key);
std::optional<QDateTime> optDate(const QJsonObject &o, const QString &key);
std::optional<QJsonObject> optObject(const QJsonObject &o, const QString &key);
std::optional<QJsonArray> optArray(const QJsonObject &o, const QString &key);

// Writes an optional value only when present (never as null).
template<typename T, typename F>
void putOptional(QJsonObject &o, const QString &key, const std::optional<T> &value, F &&toJson)
{
    if (value)
        o.insert(key, toJson(*value));
}
inline void putOptional(QJsonObject &o, const QString &key, const std::optional<QString> &value)
{
    if (value)
        o.insert(key, *value);
}
inline void putOptional(QJsonObject &o, const QString &key, const std::optional<bool> &value)
{
    if (value)
        o.insert(key, *value);
}
inline void putOptional(QJsonObject &o, const QString &key, const std::optional<QDateTime> &value)
{
    if (value)
        o.insert(key, dateString(*value));
}

// Runs work(begin, end) over [0, count) in a few slices at once and waits
// for all of them; the first failure by position is rethrown. Small counts
// run on the calling thread alone.
// grain is the least count worth a thread of its own.
void forSlices(qsizetype count, const std::function<void(qsizetype, qsizetype)> &work, qsizetype grain = 512);

// Decodes every element of an array with fromJson; one bad element fails all.
// A long history is decoded in slices on a few threads (fromJson must be a
// pure function of its object), and the result keeps the array's order.
// makeDecoder gives the decoder of one slice, on the slice's thread: a
// decoder may keep what it has decoded so far (texts its elements share).
template<typename T, typename MakeDecoder>
QList<T> decodeListWith(const QJsonArray &array, const MakeDecoder &makeDecoder)
{
    QList<T> out(array.size());
    forSlices(array.size(), [&](qsizetype begin, qsizetype end) {
        auto decode = makeDecoder();
        for (qsizetype i = begin; i < end; ++i)
            out[i] = decode(object(array.at(i)));
    });
    return out;
}

template<typename T>
QList<T> decodeList(const QJsonArray &array, const std::function<T(const QJsonObject &)> &fromJson)
{
    return decodeListWith<T>(array, [&fromJson] { return fromJson; });
}

// The byte ranges [first, second) of the elements of the JSON array that text
// holds, found by a quick scan that follows strings and nesting but checks
// nothing else; nothing when the text is not laid out as one array.
std::optional<QList<std::pair<qsizetype, qsizetype>>> arrayElements(QByteArrayView text);

// The members of the JSON object that text holds, each as its key and the
// byte range [from, to) of its value, by the same quick scan; nothing when
// the text is not laid out as one object with plain keys (no escapes, valid
// UTF-8).
struct Member
{
    QString key;
    qsizetype from = 0;
    qsizetype to = 0;
};
std::optional<QList<Member>> objectMembers(QByteArrayView text);

// Decodes a whole document that must be an array of objects, as
// decodeList(array(parse(bytes))) does, with the same results and failures.
// A long array is parsed element by element on a few threads; whenever that
// quick path meets anything it cannot parse, the whole document is parsed
// again the plain way, so failures read exactly as before.
// makeDecoder is as for decodeListWith.
template<typename T, typename MakeDecoder>
QList<T> decodeArrayWith(const QByteArray &bytes, const MakeDecoder &makeDecoder)
{
    constexpr qsizetype kQuickFloor = 1024;
    if (const auto ranges = arrayElements(bytes); ranges && ranges->size() >= kQuickFloor) {
        // Each element is parsed and decoded where it stands. A decoding
        // failure is kept by position and the parsing goes on, so that a
        // document that also fails to parse is left to the plain reading,
        // which reports it as before.
        QList<T> out(ranges->size());
        std::atomic<bool> readable = true;
        std::vector<std::optional<std::pair<qsizetype, DecodeError>>> failures(ranges->size() / 512 + 2);
        std::atomic<size_t> nextFailureSlot = 0;
        forSlices(ranges->size(), [&](qsizetype begin, qsizetype end) {
            auto fromJson = makeDecoder();
            std::optional<std::pair<qsizetype, DecodeError>> first;
            for (qsizetype i = begin; i < end && readable; ++i) {
                const auto [from, to] = (*ranges)[i];
                QJsonParseError error{};
                const QJsonDocument one =
                    QJsonDocument::fromJson(QByteArray::fromRawData(bytes.constData() + from, to - from), &error);
                if (error.error != QJsonParseError::NoError || !one.isObject()) {
                    readable = false;
                    break;
                }
                if (first)
                    continue;
                try {
                    out[i] = fromJson(one.object());
                } catch (const DecodeError &e) {
                    first = std::make_pair(i, e);
                }
            }
            if (first)
                failures[nextFailureSlot++] = first;
        });
        if (readable) {
            std::optional<std::pair<qsizetype, DecodeError>> earliest;
            for (const auto &f : failures)
                if (f && (!earliest || f->first < earliest->first))
                    earliest = f;
            if (earliest)
                throw earliest->second;
            return out;
        }
    }
    const QJsonDocument doc = parse(bytes);
    if (!doc.isArray())
        throw DecodeError{QStringLiteral("配列ではありません")};
    return decodeListWith<T>(doc.array(), makeDecoder);
}

template<typename T>
QList<T> decodeArray(const QByteArray &bytes, const std::function<T(const QJsonObject &)> &fromJson)
{
    return decodeArrayWith<T>(bytes, [&fromJson] { return fromJson; });
}

// Writes one element at the given nesting level: straight from its fields
// when the type can, else through its JSON object.
template<typename T>
void writeElement(::JsonWriter &writer, const T &item, int level);

template<typename T>
QJsonArray encodeList(const QList<T> &items)
{
    QJsonArray out;
    for (const T &item : items)
        out.append(item.toJson());
    return out;
}

} // namespace KivJSON
