#pragma once

#include "core/KivJSON.h"

#include <QByteArray>
#include <QJsonArray>
#include <QList>

// The text of a store file (a pretty-printed JSON array of elements) built
// from one cached text per element. Elements equal to the ones at the same
// position in the last build reuse their text, so appending to or changing
// one element of a list of tens of thousands encodes one element, not all.
// The result is byte for byte what KivJSON::encode gives for the whole array.
template<typename T>
class EncodedList
{
public:
    QByteArray document(const QList<T> &items)
    {
        QList<QByteArray> chunks;
        chunks.reserve(items.size());
        qsizetype total = 4;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (i < m_items.size() && m_items[i] == items[i])
                chunks.append(m_chunks[i]);
            else
                chunks.append(chunk(items[i]));
            total += chunks.last().size() + 2;
        }
        m_items = items;
        m_chunks = chunks;

        QByteArray out;
        out.reserve(total);
        out.append("[\n");
        for (qsizetype i = 0; i < chunks.size(); ++i) {
            if (i > 0)
                out.append(",\n");
            out.append(chunks[i]);
        }
        out.append(chunks.isEmpty() ? "]\n" : "\n]\n");
        return out;
    }

private:
    // One element as it stands inside the array: the encoding of a
    // one-element array without its brackets.
    static QByteArray chunk(const T &item)
    {
        const QByteArray one = KivJSON::encode(QJsonArray{item.toJson()});
        // "[\n" + element + "\n]\n"
        return one.mid(2, one.size() - 5);
    }

    QList<T> m_items;
    QList<QByteArray> m_chunks;
};
