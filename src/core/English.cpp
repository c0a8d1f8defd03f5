#include "core/L.h"

// The English form of every text the program shows, keyed by its Japanese text.
namespace English {

const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> entries = [] {
        struct Pair
        {
            const char *ja;
            const char *en;
        };
        static const Pair pairs[] = {
            {"そのまま|払い", "Keep"},
            {"外す|予定", "Remove"},
            {"{0} 日、触れていません", "Untouched for {0} days"},
            {"{0}分", "{0} min"},
            {"{0}時間{1}分", "{0} hr {1} min"},
            {"{0}時間", "{0} hr"},
        };
        QHash<QString, QString> out;
        out.reserve(int(std::size(pairs)));
        for (const Pair &p : pairs)
            out.insert(QString::fromUtf8(p.ja), QString::fromUtf8(p.en));
        return out;
    }();
    return entries;
}

} // namespace English
