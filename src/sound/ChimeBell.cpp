#include "sound/ChimeBell.h"

#include "core/L.h"

namespace {

constexpr std::array<const char *, ChimeBell::count> names = {"Bonsho", "Kansho", "Keisu", "Inkin", "Mokugyo"};

constexpr std::array<const char *, ChimeBell::count> details = {
    "ぼんしょう ・ 堂の外の大鐘。低く、長く尾を引く",
    "かんしょう ・ 次へ促す、少し軽い鐘",
    "けいす ・ 読経の始めと終わりに打つ鉢。澄んで、長い",
    "いんきん ・ 手に提げる小さな鈴。高く澄む",
    "もくぎょ ・ 木を打つ音。余韻を引かず、短い",
};

} // namespace

const std::array<ChimeBell, ChimeBell::count> &ChimeBell::all()
{
    static const std::array<ChimeBell, count> bells = {temple, small, keisu, inkin, mokugyo};
    return bells;
}

ChimeBell ChimeBell::from(const std::optional<QString> &name)
{
    if (!name)
        return temple;
    return fromName(*name).value_or(temple);
}

std::optional<ChimeBell> ChimeBell::fromName(const QString &name)
{
    for (ChimeBell bell : all()) {
        if (name == QLatin1String(names[bell.rawValue()]))
            return bell;
    }
    return std::nullopt;
}

std::optional<ChimeBell> ChimeBell::fromRawValue(int raw)
{
    if (raw < 0 || raw >= count)
        return std::nullopt;
    return ChimeBell(Value(raw));
}

QString ChimeBell::name() const { return QString::fromLatin1(names[rawValue()]); }

QString ChimeBell::detail() const { return L(QString::fromUtf8(details[rawValue()])); }
