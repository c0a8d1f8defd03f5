#include "core/JsonWriter.h"

#include <QLocale>
#include <cmath>

namespace {
char hexDigit(unsigned v)
{
    return char(v < 10 ? '0' + v : 'a' + v - 10);
}
} // namespace

void JsonWriter::string(QStringView text)
{
    m_out.append('"');
    const char16_t *p = text.utf16();
    const char16_t *end = p + text.size();
    while (p != end) {
        const char16_t u = *p++;
        if (u < 0x80) {
            if (u >= 0x20 && u != u'"' && u != u'\\') {
                m_out.append(char(u));
                continue;
            }
            m_out.append('\\');
            switch (u) {
            case u'"':
                m_out.append('"');
                break;
            case u'\\':
                m_out.append('\\');
                break;
            case 0x08:
                m_out.append('b');
                break;
            case 0x0c:
                m_out.append('f');
                break;
            case 0x0a:
                m_out.append('n');
                break;
            case 0x0d:
                m_out.append('r');
                break;
            case 0x09:
                m_out.append('t');
                break;
            default:
                m_out.append("u00");
                m_out.append(hexDigit(u >> 4));
                m_out.append(hexDigit(u & 0xF));
            }
        } else if (u < 0x800) {
            m_out.append(char(0xC0 | (u >> 6)));
            m_out.append(char(0x80 | (u & 0x3F)));
        } else if (QChar::isHighSurrogate(u) && p != end && QChar::isLowSurrogate(*p)) {
            const char32_t c = QChar::surrogateToUcs4(u, *p++);
            m_out.append(char(0xF0 | (c >> 18)));
            m_out.append(char(0x80 | ((c >> 12) & 0x3F)));
            m_out.append(char(0x80 | ((c >> 6) & 0x3F)));
            m_out.append(char(0x80 | (c & 0x3F)));
        } else if (QChar::isSurrogate(u)) {
            // A lone surrogate has no UTF-8 form: write it as an escape.
            m_out.append("\\u");
            for (int shift = 12; shift >= 0; shift -= 4)
                m_out.append(hexDigit((u >> shift) & 0xF));
        } else {
            m_out.append(char(0xE0 | (u >> 12)));
            m_out.append(char(0x80 | ((u >> 6) & 0x3F)));
            m_out.append(char(0x80 | (u & 0x3F)));
        }
    }
    m_out.append('"');
}

void JsonWriter::number(double value)
{
    if (!std::isfinite(value)) {
        m_out.append("null");
        return;
    }
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        m_out.append(QByteArray::number(qint64(value)));
        return;
    }
    m_out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
}

void JsonWriter::value(const QJsonValue &v, int level)
{
    switch (v.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        m_out.append("null");
        break;
    case QJsonValue::Bool:
        boolean(v.toBool());
        break;
    case QJsonValue::Double:
        number(v.toDouble());
        break;
    case QJsonValue::String:
        string(v.toString());
        break;
    case QJsonValue::Array:
        array(v.toArray(), level);
        break;
    case QJsonValue::Object:
        object(v.toObject(), level);
        break;
    }
}

void JsonWriter::object(const QJsonObject &o, int level)
{
    beginObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
        separate(level + 1);
        string(it.key());
        m_out.append(": ");
        value(it.value(), level + 1);
    }
    endObject(level);
}

void JsonWriter::array(const QJsonArray &a, int level)
{
    beginArray();
    for (const QJsonValue &v : a) {
        element(level + 1);
        value(v, level + 1);
    }
    endArray(level);
}

void JsonWriter::separate(int level)
{
    m_out.append(m_first ? "\n" : ",\n");
    m_first = false;
    indent(level);
}

void JsonWriter::key(const char *latin1Key, int level)
{
    separate(level);
    m_out.append('"');
    m_out.append(latin1Key);
    m_out.append("\": ");
}

void JsonWriter::element(int level)
{
    separate(level);
}

void JsonWriter::endObject(int level)
{
    m_out.append('\n');
    indent(level);
    m_out.append('}');
    m_first = false;
}

void JsonWriter::endArray(int level)
{
    m_out.append('\n');
    indent(level);
    m_out.append(']');
    m_first = false;
}
