#include "core/DayQuestion.h"

#include "core/L.h"

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
    static const QString text = L(QStringLiteral("今日、大切にすること。"));
    return text;
}

const QString &evening()
{
    static const QString text = L(QStringLiteral("今日、心に残ったこと。"));
    return text;
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
    static const QStringList list = buildMorningExamples();
    return list;
}

const QStringList &eveningExamples()
{
    static const QStringList list = buildEveningExamples();
    return list;
}

} // namespace DayQuestion
