#include "core/English.h"

#include "core/L.h"

// The English form of every text the program shows, keyed by its Japanese text.
namespace English {

namespace {
constexpr Pair rows[] = {
#include "core/EnglishTable.inc"
};
} // namespace

std::span<const Pair> pairs()
{
    return rows;
}

const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> entries = [] {
        QHash<QString, QString> out;
        out.reserve(qsizetype(std::size(rows)));
        for (const Pair &p : rows)
            out.insert(QString::fromUtf8(p.japanese), QString::fromUtf8(p.english));
        return out;
    }();
    return entries;
}

} // namespace English
