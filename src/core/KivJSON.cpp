#include "core/KivJSON.h"

#include "core/JsonWriter.h"
#include "core/L.h"

#include <QRegularExpression>
#include <algorithm>
#include <exception>
#include <thread>
#include <vector>
#include <QTimeZone>
#include <cmath>

namespace KivJSON {

QString DecodeError::message() const
{
    return TextDetail::lookup(key, args, !args.isEmpty());
}

namespace {
[[noreturn]] void fail(const DecodeError &error)
{
    throw error;
}

DecodeError typeError(const QString &key, const char *expected)
{
    return {QStringLiteral("「{0}」の型が違います（{1}）"), {key, QString::fromLatin1(expected)}};
}

DecodeError missing(const QString &key)
{
    return {QStringLiteral("「{0}」がありません"), {key}};
}

// A value that is present and not null, or nothing.
std::optional<QJsonValue> present(const QJsonObject &o, const QString &key)
{
    auto it = o.constFind(key);
    if (it == o.constEnd() || it->isNull() || it->isUndefined())
        return std::nullopt;
    return *it;
}

QJsonValue required(const QJsonObject &o, const QString &key)
{
    auto v = present(o, key);
    if (!v)
        fail(missing(key));
    return *v;
}
} // namespace

void forSlices(qsizetype count, const std::function<void(qsizetype, qsizetype)> &work, qsizetype grain)
{
    const qsizetype cores = qsizetype(std::max(1u, std::thread::hardware_concurrency()));
    const qsizetype slices = std::clamp<qsizetype>(count / std::max<qsizetype>(grain, 1), 1, std::min<qsizetype>(cores, 8));
    if (slices == 1) {
        work(0, count);
        return;
    }
    std::vector<std::exception_ptr> failures(static_cast<size_t>(slices));
    auto runSlice = [&](qsizetype s) {
        try {
            work(count * s / slices, count * (s + 1) / slices);
        } catch (...) {
            failures[size_t(s)] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    for (qsizetype s = 1; s < slices; ++s)
        threads.emplace_back(runSlice, s);
    runSlice(0);
    for (std::thread &t : threads)
        t.join();
    for (const std::exception_ptr &failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

namespace {
bool isJsonSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

qsizetype skipSpace(const char *data, qsizetype size, qsizetype i)
{
    while (i < size && isJsonSpace(data[i]))
        ++i;
    return i;
}

// From the start of a value at i, the position of the comma or closing
// bracket that ends it at depth zero, following strings and nesting only;
// -1 when the text ends first. *end gets the value's end without trailing space.
qsizetype scanValue(const char *data, qsizetype size, qsizetype i, qsizetype *end)
{
    const qsizetype from = i;
    int depth = 0;
    bool inString = false;
    for (; i < size; ++i) {
        const char c = data[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            if (depth == 0)
                break;
            --depth;
        } else if (c == ',' && depth == 0) {
            break;
        }
    }
    if (i >= size || inString)
        return -1;
    qsizetype to = i;
    while (to > from && isJsonSpace(data[to - 1]))
        --to;
    if (to == from)
        return -1;
    *end = to;
    return i;
}
} // namespace

std::optional<QList<std::pair<qsizetype, qsizetype>>> arrayElements(QByteArrayView text)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    qsizetype i = skipSpace(data, size, 0);
    if (i == size || data[i] != '[')
        return std::nullopt;
    QList<std::pair<qsizetype, qsizetype>> out;
    i = skipSpace(data, size, i + 1);
    if (i < size && data[i] == ']') {
        ++i;
    } else {
        for (;;) {
            qsizetype to = 0;
            const qsizetype from = i;
            i = scanValue(data, size, i, &to);
            if (i < 0)
                return std::nullopt;
            out.append({from, to});
            if (data[i++] == ']')
                break;
            i = skipSpace(data, size, i);
        }
    }
    if (skipSpace(data, size, i) != size)
        return std::nullopt;
    return out;
}

std::optional<QList<Member>> objectMembers(QByteArrayView text)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    qsizetype i = skipSpace(data, size, 0);
    if (i == size || data[i] != '{')
        return std::nullopt;
    QList<Member> out;
    i = skipSpace(data, size, i + 1);
    if (i < size && data[i] == '}') {
        ++i;
    } else {
        for (;;) {
            // A plain key: no escapes (the program's own keys never need them).
            if (i >= size || data[i] != '"')
                return std::nullopt;
            const qsizetype keyFrom = ++i;
            while (i < size && data[i] != '"' && data[i] != '\\')
                ++i;
            if (i >= size || data[i] != '"')
                return std::nullopt;
            // A key that is not UTF-8 is left to the full parser, which refuses it.
            const QUtf8StringView rawKey(data + keyFrom, i - keyFrom);
            if (!rawKey.isValidUtf8())
                return std::nullopt;
            const QString key = rawKey.toString();
            i = skipSpace(data, size, i + 1);
            if (i >= size || data[i] != ':')
                return std::nullopt;
            i = skipSpace(data, size, i + 1);
            qsizetype to = 0;
            const qsizetype from = i;
            i = scanValue(data, size, i, &to);
            if (i < 0 || data[i] == ']')
                return std::nullopt;
            out.append({key, from, to});
            if (data[i++] == '}')
                break;
            i = skipSpace(data, size, i);
        }
    }
    if (skipSpace(data, size, i) != size)
        return std::nullopt;
    return out;
}

QByteArray encode(const QJsonObject &object)
{
    QByteArray out;
    JsonWriter w(out);
    w.object(object, 0);
    out.append('\n');
    return out;
}

QByteArray encode(const QJsonArray &array)
{
    QByteArray out;
    JsonWriter w(out);
    w.array(array, 0);
    out.append('\n');
    return out;
}

namespace {
constexpr qint64 kMsecsPerDay = 86'400'000;
constexpr qint64 kJulianDayOfEpoch = 2'440'588; // 1970-01-01
constexpr qint64 kJulianDayOfYearOne = 1'721'426; // 0001-01-01
constexpr qint64 kJulianDayAfterYear9999 = 5'373'485; // 10000-01-01

// The instants the four-digit form can hold: 0001-01-01T00:00:00.000Z to
// 9999-12-31T23:59:59.999Z.
constexpr qint64 kFirstMsecs = (kJulianDayOfYearOne - kJulianDayOfEpoch) * kMsecsPerDay;
constexpr qint64 kLastMsecs = (kJulianDayAfterYear9999 - kJulianDayOfEpoch) * kMsecsPerDay - 1;

void putDigits(char *out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i, value /= 10)
        out[i] = char('0' + value % 10);
}
} // namespace

QString dateString(const QDateTime &date)
{
    // Written by hand rather than through a format pattern: files and
    // bundles hold tens of thousands of dates. A date beyond the four-digit
    // years is held to the nearest one that can be written, so that every
    // written date reads back.
    const qint64 msecs = std::clamp(date.toMSecsSinceEpoch(), kFirstMsecs, kLastMsecs);
    qint64 days = msecs / kMsecsPerDay;
    qint64 rest = msecs % kMsecsPerDay;
    if (rest < 0) {
        rest += kMsecsPerDay;
        --days;
    }
    const QDate day = QDate::fromJulianDay(kJulianDayOfEpoch + days);
    const int ms = int(rest);
    char buf[24] = {0, 0, 0, 0, '-', 0, 0, '-', 0, 0, 'T', 0, 0, ':', 0, 0, ':', 0, 0, '.', 0, 0, 0, 'Z'};
    putDigits(buf, day.year(), 4);
    putDigits(buf + 5, day.month(), 2);
    putDigits(buf + 8, day.day(), 2);
    putDigits(buf + 11, ms / 3'600'000, 2);
    putDigits(buf + 14, ms / 60'000 % 60, 2);
    putDigits(buf + 17, ms / 1000 % 60, 2);
    putDigits(buf + 20, ms % 1000, 3);
    return QString::fromLatin1(buf, 24);
}

QString uuidString(const QUuid &id)
{
    static const char hex[] = "0123456789ABCDEF";
    const QByteArray bytes = id.toRfc4122();
    char buf[36];
    int at = 0;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            buf[at++] = '-';
        buf[at++] = hex[(quint8(bytes[i]) >> 4) & 0xF];
        buf[at++] = hex[quint8(bytes[i]) & 0xF];
    }
    return QString::fromLatin1(buf, 36);
}

namespace {
// The form this program writes, "2025-03-04T05:06:07.089Z", read without a
// regular expression: files hold tens of thousands of such dates.
std::optional<QDateTime> parseWrittenForm(const QString &text)
{
    if (text.size() != 24)
        return std::nullopt;
    const QChar *c = text.constData();
    auto digits = [c](int from, int count, int &out) {
        out = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t u = c[i].unicode();
            if (u < u'0' || u > u'9')
                return false;
            out = out * 10 + (u - u'0');
        }
        return true;
    };
    if (c[4] != u'-' || c[7] != u'-' || c[10] != u'T' || c[13] != u':' || c[16] != u':' || c[19] != u'.'
        || c[23] != u'Z')
        return std::nullopt;
    int y, mo, d, h, mi, s, ms;
    if (!digits(0, 4, y) || !digits(5, 2, mo) || !digits(8, 2, d) || !digits(11, 2, h) || !digits(14, 2, mi)
        || !digits(17, 2, s) || !digits(20, 3, ms))
        return std::nullopt;
    const QDate day(y, mo, d);
    if (!day.isValid() || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    const qint64 msecs = (day.toJulianDay() - kJulianDayOfEpoch) * kMsecsPerDay + h * 3'600'000LL + mi * 60'000LL
                         + s * 1000LL + ms;
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}
} // namespace

std::optional<QDateTime> parseDate(const QString &text)
{
    if (auto fast = parseWrittenForm(text))
        return fast;
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{4})-(\\d{2})-(\\d{2})[Tt](\\d{2}):(\\d{2}):(\\d{2})(?:\\.(\\d+))?(?:([Zz])|([+-])(\\d{2}):(\\d{2}))$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate day(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const int hour = m.captured(4).toInt(), minute = m.captured(5).toInt(), second = m.captured(6).toInt();
    if (!day.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    int msec = 0;
    if (m.hasCaptured(7)) {
        // Milliseconds, rounded from however many digits were written.
        const QString digits = m.captured(7);
        const double fraction = (QStringLiteral("0.") + digits).toDouble();
        msec = int(std::lround(fraction * 1000.0));
    }
    int offsetSeconds = 0;
    if (m.hasCaptured(9)) {
        const int oh = m.captured(10).toInt(), om = m.captured(11).toInt();
        if (oh > 23 || om > 59)
            return std::nullopt;
        offsetSeconds = (oh * 3600 + om * 60) * (m.captured(9) == QStringLiteral("-") ? -1 : 1);
    }
    const QDateTime local(day, QTime(hour, minute, second), QTimeZone(offsetSeconds));
    const QDateTime utc = local.addMSecs(msec).toUTC();
    // Its UTC form must stay within the four-digit years, or it could not be
    // written back ("9999-12-31T23:00:00-05:00" is in year 10000).
    const qint64 msecs = utc.toMSecsSinceEpoch();
    if (!utc.isValid() || msecs < kFirstMsecs || msecs > kLastMsecs)
        return std::nullopt;
    return utc;
}

QDateTime date(const QJsonValue &value)
{
    if (!value.isString())
        fail({QStringLiteral("日付は文字列でなければなりません")});
    const QString text = value.toString();
    auto parsed = parseDate(text);
    if (!parsed)
        fail({QStringLiteral("日付として読めません: {0}"), {text}});
    return *parsed;
}

std::optional<QUuid> parseUuid(const QString &text)
{
    // 8-4-4-4-12 hexadecimal digits joined by hyphens, checked by hand:
    // files hold tens of thousands of identifiers.
    if (text.size() != 36)
        return std::nullopt;
    for (int i = 0; i < 36; ++i) {
        const char16_t u = text[i].unicode();
        const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex = (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (hyphen ? u != u'-' : !hex)
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

QJsonDocument parse(const QByteArray &bytes)
{
    QJsonParseError error{};
    QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        fail({QStringLiteral("JSON として読めません（{0} バイト目）"), {QString::number(error.offset)}});
    return doc;
}

QJsonObject object(const QJsonValue &value, const QString &what)
{
    if (!value.isObject())
        fail(typeError(what, "object"));
    return value.toObject();
}

QJsonArray array(const QJsonValue &value, const QString &what)
{
    if (!value.isArray())
        fail(typeError(what, "array"));
    return value.toArray();
}

QString requireString(const QJsonObject &o, const QString &key)
{
    const QJsonValue v = required(o, key);
    if (!v.isString())
        fail(typeError(key, "string"));
    return v.toString();
}

double requireNumber(const QJsonObject &o, const QString &key)
{
    const QJsonValue v = required(o, key);
    if (!v.isDouble())
        fail(typeError(key, "number"));
    return v.toDouble();
}

namespace {
qint64 integral(const QJsonValue &v, const QString &key)
{
    if (!v.isDouble())
        fail(typeError(key, "integer"));
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 9.0e15)
        fail(typeError(key, "integer"));
    return qint64(d);
}
} // namespace

qint64 requireInt(const QJsonObject &o, const QString &key)
{
    return integral(required(o, key), key);
}

bool requireBool(const QJsonObject &o, const QString &key)
{
    const QJsonValue v = required(o, key);
    if (!v.isBool())
        fail(typeError(key, "bool"));
    return v.toBool();
}

QDateTime requireDate(const QJsonObject &o, const QString &key)
{
    return date(required(o, key));
}

QUuid requireUuid(const QJsonObject &o, const QString &key)
{
    const QString text = requireString(o, key);
    auto id = parseUuid(text);
    if (!id)
        fail({QStringLiteral("UUIDとして読めません: {0}"), {text}});
    return *id;
}

QJsonObject requireObject(const QJsonObject &o, const QString &key)
{
    return object(required(o, key), key);
}

QJsonArray requireArray(const QJsonObject &o, const QString &key)
{
    return array(required(o, key), key);
}

std::optional<QString> optString(const QJsonObject &o, const QString &key)
{
    auto v = present(o, key);
    if (!v)
        return std::nullopt;
    if (!v->isString())
        fail(typeError(key, "string"));
    return v->toString();
}

std::optional<double> optNumber(const QJsonObject &o, const QString &key)
{
    auto v = present(o, key);
    if (!v)
        return std::nullopt;
    if (!v->isDouble())
        fail(typeError(key, "number"));
    return v->toDouble();
}

std::optional<qint64> optInt(const QJsonObject &o, const QString &key)
{
    auto v = present(o, key);
    if (!v)
        return std::nullopt;
    return integral(*v, key);
}

std::optional<bool> optBool(const QJsonObject &o, const QString &key)
{
    auto v = present(o, key);
    if (!v)
        return std::nullopt;
    if (!v->isBool())
        fail(typeError(key, "bool"));
    return v->toBool();
}

std::optional<QDateTime> optDate(const QJsonObject &o, const QString &key)
{
    auto v = present(o, key);
    if (!v)
        return std::nullopt;
    return date(*v);
}

std::optional<QJsonObject> optObject(const QJsonObject &o, const QString &key)
{
    auto v = present(o, key);
    if (!v)
        return std::nullopt;
    return object(*v, key);
}

std::optional<QJsonArray> optArray(const QJsonObject &o, const QString &key)
{
    auto v = present(o, key);
    if (!v)
        return std::nullopt;
    return array(*v, key);
}

} // namespace KivJSON
