#include "views/ink/Saying.h"

#include "core/L.h"

#include <QHashFunctions>

namespace {
QList<Saying> build()
{
    return {
        {QStringLiteral("一日不作一日不食"), L("いちじつなさざれば いちじつくらわず"), L("その日の務めを果たしてこそ")},
        {QStringLiteral("百尺竿頭進一歩"), L("ひゃくしゃくかんとう いっぽをすすむ"), L("ここまで来た、と思った先へもう一歩")},
        {QStringLiteral("只管打坐"), L("しかんたざ"), L("よそ見をせず、ただそれをやる")},
        {QStringLiteral("打成一片"), L("だじょういっぺん"), L("自分と目の前のことが、ひとつになる")},
        {QStringLiteral("莫妄想"), L("まくもうぞう"), L("余計な考えを追わない")},
        {QStringLiteral("而今"), L("にこん"), L("いま、この一瞬に手をつける")},
        {QStringLiteral("歩歩是道場"), L("ほほこれどうじょう"), L("踏み出す一歩ごとが、修行の場")},
        {QStringLiteral("Ondrevel"), L("Ondrevel"), L("ひとつのことに、ただ徹する")},
        {QStringLiteral("前後際断"), L("ぜんごさいだん"), L("前とも後とも切り離し、いまへ向かう")},
        {QStringLiteral("看脚下"), L("かんきゃっか"), L("手のつけどころは、いつも足もと")},
        {QStringLiteral("随処作主"), L("ずいしょにしゅとなる"), L("どこにいても、自分がその場の主")},
        {QStringLiteral("主人公"), L("しゅじんこう"), L("自分の主は、自分でいる")},
        {QStringLiteral("冷暖自知"), L("れいだんじち"), L("水の冷たさは、飲んだ人が知る")},
        {QStringLiteral("勇猛精進"), L("ゆうもうしょうじん"), L("ひるまず、まっすぐ励む")},
        {QStringLiteral("大死一番"), L("だいしいちばん"), L("思い切って、一度捨てて飛び込む")},
        {QStringLiteral("行住坐臥"), L("ぎょうじゅうざが"), L("立つも歩くも、すべて稽古のうち")},
        {QStringLiteral("平常心是道"), L("びょうじょうしんこれどう"), L("ふだんのままの心が、そのまま道")},
        {QStringLiteral("日々是好日"), L("にちにちこれこうじつ"), L("今日という日は、今日きり")},
    };
}
} // namespace

const QList<Saying> &Saying::all()
{
    // Built once per interface language (the language is fixed for a run;
    // tests switch it between cases).
    static QList<Saying> japanese, english;
    QList<Saying> &table = Lang::isJapanese() ? japanese : english;
    if (table.isEmpty())
        table = build();
    return table;
}

Saying Saying::random(const std::optional<Saying> &excluding, QRandomGenerator &generator)
{
    const QList<Saying> &table = all();
    QList<const Saying *> candidates;
    candidates.reserve(table.size());
    for (const Saying &s : table)
        if (!excluding || s != *excluding)
            candidates << &s;
    if (candidates.isEmpty())
        return table.constFirst();
    return *candidates[qsizetype(generator.bounded(quint32(candidates.size())))];
}

size_t qHash(const Saying &saying, size_t seed)
{
    return qHashMulti(seed, saying.phrase, saying.reading, saying.gloss);
}
