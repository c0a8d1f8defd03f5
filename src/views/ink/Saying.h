#pragma once

#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <optional>

// A short saying of meditation-hall practice: the phrase as written, its
// reading (kana, or a romanization in English) and a one-line gloss.
struct Saying
{
    QString phrase;  // never translated
    QString reading; // through L
    QString gloss;   // through L

    bool operator==(const Saying &) const = default;

    // The eighteen sayings, in the interface language of the moment.
    static const QList<Saying> &all();
    // A uniform pick among the sayings other than `excluding` (among all of
    // them when it is absent or not one of them).
    static Saying random(const std::optional<Saying> &excluding,
                         QRandomGenerator &generator = *QRandomGenerator::system());
};

size_t qHash(const Saying &saying, size_t seed = 0);
