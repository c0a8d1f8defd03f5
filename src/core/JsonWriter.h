#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringView>

#include "core/KivJSON.h"

#include <algorithm>

// Writes the program's JSON text: pretty-printed with four spaces per level,
// "key": value, keys in sorted order. The output is byte for byte the same
// as QJsonDocument's indented form, so files written either way agree; it
// exists because the history and the sync bundle hold tens of thousands of
// records, and writing them straight from the values is several times
// faster than building a QJsonObject for each first.
//
// A value written at nesting level n starts where the caller stands and
// indents its inner lines for level n + 1; the caller writes any leading
// indentation and separators.
class JsonWriter
{
public:
    explicit JsonWriter(QByteArray &out)
        : m_out(out)
    {
    }

    void indent(int level) { m_out.append(4 * level, ' '); }
    void string(QStringView text);
    void number(double value);
    void integer(qint64 value) { m_out.append(QByteArray::number(value)); }
    void boolean(bool value) { m_out.append(value ? "true" : "false"); }
    void value(const QJsonValue &value, int level);
    void object(const QJsonObject &object, int level);
    void array(const QJsonArray &array, int level);

    // Members of an object written by hand, in sorted key order:
    //   w.beginObject(); w.key("a", level + 1); <value>; w.key("b", level + 1); ...; w.endObject(level);
    void beginObject() { m_out.append('{'); m_first = true; }
    void key(const char *latin1Key, int level);
    void endObject(int level);

    // An array written element by element: beginArray(); element(level + 1) before each; endArray(level, count).
    void beginArray() { m_out.append('['); m_first = true; }
    void element(int level);
    void endArray(int level);

    QByteArray &out() { return m_out; }

private:
    void separate(int level);
    QByteArray &m_out;
    bool m_first = true;
};

namespace KivJSON {
// How many elements one thread writes at a time.
constexpr qsizetype kItemsPerPart = 256;

template<typename T>
void writeElement(JsonWriter &writer, const T &item, int level)
{
    if constexpr (requires { item.writeJson(writer, level); })
        item.writeJson(writer, level);
    else
        writer.object(item.toJson(), level);
}

// Writes a list as an array value at the given nesting level, exactly as
// element-by-element writing gives it. A long list is written in slices on a
// few threads and joined.
template<typename T>
void writeItems(JsonWriter &w, const QList<T> &items, int level)
{
    QList<QByteArray> parts((items.size() + kItemsPerPart - 1) / kItemsPerPart);
    forSlices(parts.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype p = begin; p < end; ++p) {
            QByteArray &part = parts[p];
            JsonWriter pw(part);
            const qsizetype last = std::min(items.size(), (p + 1) * kItemsPerPart);
            for (qsizetype i = p * kItemsPerPart; i < last; ++i) {
                part.append(i == 0 ? "\n" : ",\n");
                pw.indent(level + 1);
                writeElement(pw, items[i], level + 1);
            }
        }
    }, 4);
    QByteArray &out = w.out();
    qsizetype total = out.size() + 2 + 4 * level;
    for (const QByteArray &part : parts)
        total += part.size();
    out.reserve(total);
    out.append('[');
    for (const QByteArray &part : parts)
        out.append(part);
    out.append('\n');
    w.indent(level);
    out.append(']');
}

// A whole list as the top-level array of a file.
template<typename T>
QByteArray encodeItems(const QList<T> &items)
{
    QByteArray out;
    JsonWriter w(out);
    writeItems(w, items, 0);
    out.append('\n');
    return out;
}
} // namespace KivJSON
