#include "views/reading/Intro.h"

#include "core/L.h"
#include "core/PerLanguage.h"

namespace Intro {

namespace {
// The terms of page 1 as written: word, kana reading, note (Japanese keys).
struct TermRow
{
    const char *word;
    const char *kana;
    const char *note;
};

// clang-format off
const TermRow pageOneTerms[] = {
    {"作務", "さむ", "向き合うことを、決める"},
    {"行持", "ぎょうじ", "くり返すことを、決める"},
    {"一日", "いちじつ", "今日に、落とし込む"},
    {"只管", "しかん", "そして、向かう"},
};
// clang-format on
} // namespace

QList<Page> build()
{
    const bool japanese = Lang::isJapanese();
    QList<Term> terms;
    for (const TermRow &t : pageOneTerms) {
        const QString word = QString::fromUtf8(t.word);
        terms.append(Term{L(word), japanese ? QString::fromUtf8(t.kana) : word, L(QString::fromUtf8(t.note))});
    }
    return {
        Page{0, L(QStringLiteral("一日一日を、\n"
                              "十二分に味わいきる")),
             L(QStringLiteral("そのための道具です。\n"
                              "こなした数を増やすためでも、\n"
                              "空き時間を埋めるためでもありません。\n"
                              "\n"
                              "十二分に味わいきった一日は、\n"
                              "ただタスクを片付けきった一日とは、\n"
                              "別のものです。")),
             {}},
        Page{1, L(QStringLiteral("四つの頁で、\n"
                              "そこへ向かいます")),
             L(QStringLiteral("向き合うことを決めて、今日に落とし込み、\n"
                              "そして向かう。\n"
                              "まずは只管だけでも使えます。")),
             terms},
        // The first line is the program's name, which is also the name of the
        // practice the page explains.
        Page{2, L(QStringLiteral("ひとつのことに、\n"
                              "なりきる")),
             L(QStringLiteral("Ondrevel（オンドレヴェル）。\n"
                              "ひとつの行いに、身も心も入りきること。\n"
                              "\n"
                              "いま向き合うことを、ひとつ決める。\n"
                              "決めたら、それだけをする。\n"
                              "終えたら、次のひとつへ。\n"
                              "気がそれても、気づいたところから戻ればよい。\n"
                              "\n"
                              "ひとつひとつに入りきった時間が、\n"
                              "充実した一日になります。")),
             {}},
    };
}

const QList<Page> &pages()
{
    static PerLanguage<QList<Page>> built;
    return built(&build);
}

} // namespace Intro
