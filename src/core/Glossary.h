#pragma once

#include "core/GlossaryEntry.h"

#include <QList>
#include <QString>
#include <optional>

// The words of the meditation hall that the interface uses, each with its
// reading, meaning, place in the program and origin: five titled sections.
// The table is looked up through L once for each interface language and
// kept.
namespace Glossary {

struct Section
{
    QString title; // the identity
    QList<GlossaryEntry> entries;

    const QString &id() const { return title; }
    bool operator==(const Section &) const = default;
};

// The table, built on first use.
const QList<Section> &sections();

// The first entry whose key equals the given Japanese word exactly (no
// folding of case or width); none for any other text, English terms included.
std::optional<GlossaryEntry> entry(const QString &key);

// The page's heading and its closing note.
QString heading();
QString closingNote();

// The table built now, in the current language (sections() keeps one for
// each language).
QList<Section> build();
// The same lookup over a given table.
std::optional<GlossaryEntry> entry(const QList<Section> &table, const QString &key);

} // namespace Glossary

inline size_t qHash(const Glossary::Section &s, size_t seed = 0)
{
    return qHashMulti(seed, s.title, s.entries);
}
