#pragma once

#include "core/JsonWriter.h"
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
        QList<QByteArray> chunks(items.size());
        QList<qsizetype> fresh;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (i < m_items.size() && m_items[i] == items[i])
                chunks[i] = m_chunks[i];
            else
                fresh.append(i);
        }
        // The first save of a run writes every element: on a few threads.
        KivJSON::forSlices(fresh.size(), [&](qsizetype begin, qsizetype end) {
            for (qsizetype k = begin; k < end; ++k)
                chunks[fresh[k]] = chunk(items[fresh[k]]);
        });
        qsizetype total = 4;
        for (const QByteArray &c : chunks)
            total += c.size() + 2;
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
        QByteArray out;
        JsonWriter w(out);
        w.indent(1);
        KivJSON::writeElement(w, item, 1);
        return out;
    }

    QList<T> m_items;
    QList<QByteArray> m_chunks;
};
