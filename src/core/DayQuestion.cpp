#include "core/DayQuestion.h"

#include "core/L.h"
#include "core/PerLanguage.h"

namespace DayQuestion {

namespace {
// clang-format off
const char *const morningKeys[] = {
    "急がない",
    "人の話をよく聞く",
    "ひとつずつ",
    "返事は、落ち着いてから",
    "食べるときは、食べる",
    "姿勢を正す",
    "できたところを見る",
};
const char *const eveningKeys[] = {
    "友人と笑った",
    "思ったより疲れていた",
    "夕方の風が気持ちよかった",
    "昼の味噌汁がおいしかった",
    "焦って言いすぎた",
    "最後まで書き切れた",
    "空がきれいだった",
};
// clang-format on

template<size_t N>
QStringList lookedUp(const char *const (&keys)[N])
{
    QStringList out;
    out.reserve(qsizetype(N));
    for (const char *key : keys)
        out.append(L(QString::fromUtf8(key)));
    return out;
}
} // namespace

const QString &morning()
{
    static PerLanguage<QString> text;
    return text([] { return L(QStringLiteral("今日、大切にすること。")); });
}

const QString &evening()
{
    static PerLanguage<QString> text;
    return text([] { return L(QStringLiteral("今日、心に残ったこと。")); });
}

QStringList buildMorningExamples()
{
    return lookedUp(morningKeys);
}

QStringList buildEveningExamples()
{
    return lookedUp(eveningKeys);
}

const QStringList &morningExamples()
{
    static PerLanguage<QStringList> list;
    return list(&buildMorningExamples);
}

const QStringList &eveningExamples()
{
    static PerLanguage<QStringList> list;
    return list(&buildEveningExamples);
}

} // namespace DayQuestion
