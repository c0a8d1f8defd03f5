#include "support/KeptInJapanese.h"

namespace KeptInJapanese {

const QSet<QString> &keys()
{
    static const QSet<QString> keys = {
        QStringLiteral("もう一度"),
        QStringLiteral("おつかれさまでした"),
        QStringLiteral("日々"),
        QStringLiteral("折々"),
        QStringLiteral("坐禅、日記、素振り…"),
        QStringLiteral("毎日が問われます。今日のぶんとして数えます。"),
        QStringLiteral("毎日は問われません。やった日だけ跡が残ります。"),
        QStringLiteral("最後は{0}"),
        QStringLiteral("まだ手をつけていません"),
        QStringLiteral("書き出した控えを、この頼み文と一緒に AI に渡すと、\n"
                       "時間の使い方について話し相手になってもらえます。\n\n"
                       "控えには、作務の題目や、朝と暮れに書いた一行が入っています。\n"
                       "人に見せたくないものが混ざっているときは、\n"
                       "「題目を伏せて書き出す」のほうをお使いください。"),
    };
    return keys;
}

} // namespace KeptInJapanese
