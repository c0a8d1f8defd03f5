#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringView>

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
template<typename T>
void writeElement(JsonWriter &writer, const T &item, int level)
{
    if constexpr (requires { item.writeJson(writer, level); })
        item.writeJson(writer, level);
    else
        writer.object(item.toJson(), level);
}

// A whole list as the top-level array of a file.
template<typename T>
QByteArray encodeItems(const QList<T> &items)
{
    QByteArray out;
    JsonWriter w(out);
    w.beginArray();
    for (const T &item : items) {
        w.element(1);
        writeElement(w, item, 1);
    }
    w.endArray(0);
    out.append('\n');
    return out;
}
} // namespace KivJSON
