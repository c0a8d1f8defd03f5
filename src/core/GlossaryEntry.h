#pragma once

#include <QString>
#include <QHashFunctions>

// One word of the glossary, its texts already in the interface language.
struct GlossaryEntry
{
    QString key;     // the Japanese word itself, never translated; the identity
    QString term;    // the word as shown: Japanese, or its English rendering
    QString reading; // the kana reading in Japanese; the Japanese word in English
    QString meaning; // one line
    QString place;   // where in the program the word is used
    QString detail;  // the longer account of its origin; may be empty

    const QString &id() const { return key; }
    bool operator==(const GlossaryEntry &) const = default;
};

inline size_t qHash(const GlossaryEntry &e, size_t seed = 0)
{
    return qHashMulti(seed, e.key, e.term, e.reading, e.meaning, e.place, e.detail);
}
