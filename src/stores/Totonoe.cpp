#include "stores/Totonoe.h"

#include "core/L.h"
#include "stores/DayMath.h"

#include <algorithm>

namespace Totonoe {

namespace {
QStringList lookedUp(std::initializer_list<const char *> keys)
{
    QStringList out;
    for (const char *key : keys)
        out << L(QString::fromUtf8(key));
    return out;
}

// The list in the interface language, looked up once per language (still
// pictures draw both languages in one run).
const QStringList &inLanguage(QStringList (&lists)[2], std::initializer_list<const char *> keys)
{
    QStringList &list = lists[Lang::isJapanese() ? 0 : 1];
    if (list.isEmpty())
        list = lookedUp(keys);
    return list;
}
} // namespace

const QStringList &labels()
{
    static QStringList lists[2];
    return inLanguage(lists, {"抱えているもの", "身のまわり", "自分"});
}

const QStringList &numerals()
{
    static QStringList lists[2];
    return inLanguage(lists, {"一", "二", "三"});
}

const QStringList &surroundings()
{
    static QStringList lists[2];
    return inLanguage(lists, {
        "机の上を、ひとつ整える",
        "床や棚を、ひと拭きする",
        "鞄の中を整える",
        "玄関を、少し掃く",
        "使っていないものを、ひとつ手放す",
        "壊れたままのものを、ひとつ直すか、手放す",
        "植物や道具の手入れをする",
        "冷蔵庫の中を、ひと区画だけ整える",
        "スマホやパソコンの、要らないものを少し片づける",
        "いつも使う場所を、少し気持ちよくする",
    });
}

const QStringList &oneself()
{
    static QStringList lists[2];
    return inLanguage(lists, {
        "少し休む",
        "湯につかる",
        "散歩する",
        "早めに眠る",
        "好きなお茶を、ゆっくり飲む",
        "窓を開けて、深く息をする",
        "何もしない時間を、少しとる",
        "爪を切り、髪を整える",
    });
}

int start(int count, const QDateTime &on, const QTimeZone &zone)
{
    const QDate date = DayMath::dateIn(on, zone);
    const int ordinal = date.isValid() ? date.dayOfYear() : 1;
    return ordinal % std::max(count, 1);
}

} // namespace Totonoe
