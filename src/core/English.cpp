#include "core/English.h"

#include "core/L.h"

#include <algorithm>
#include <cstring>
#include <vector>

// The English form of every text the program shows, keyed by its Japanese text.
namespace English {

namespace {
constexpr Pair rows[] = {
#include "core/EnglishTable.inc"
};

// The rows' positions ordered by their keys' bytes, made on the first
// lookup. Looking a key up searches the rows as written: no text is copied
// or converted until one is found, so the first English text shown does
// not wait for every other to be made.
const std::vector<unsigned short> &byKey()
{
    static_assert(std::size(rows) <= 0xffff);
    static const std::vector<unsigned short> order = [] {
        std::vector<unsigned short> out(std::size(rows));
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<unsigned short>(i);
        std::stable_sort(out.begin(), out.end(), [](unsigned short a, unsigned short b) {
            return std::strcmp(rows[a].japanese, rows[b].japanese) < 0;
        });
        return out;
    }();
    return order;
}
} // namespace

std::span<const Pair> pairs()
{
    return rows;
}

std::optional<QString> text(const QString &key)
{
    const QByteArray utf8 = key.toUtf8();
    const auto &order = byKey();
    const auto it = std::lower_bound(order.begin(), order.end(), utf8.constData(),
                                     [](unsigned short row, const char *k) { return std::strcmp(rows[row].japanese, k) < 0; });
    if (it == order.end() || std::strcmp(rows[*it].japanese, utf8.constData()) != 0)
        return std::nullopt;
    return QString::fromUtf8(rows[*it].english);
}

} // namespace English
