#include "views/reading/Fuse.h"

#include "core/L.h"
#include "core/PerLanguage.h"

namespace Fuse {

const QString &word()
{
    static PerLanguage<QString> text;
    return text([] { return L(QStringLiteral("布施")); });
}

const QString &message()
{
    static PerLanguage<QString> text;
    return text([] {
        return L(QStringLiteral("このアプリを使ってよかったと思っていただけたなら、\n"
                                                 "そのぶんを、どうか世界のほうへ回してください。\n\n"
                                                 "隣の人の話を、最後まで聞く。\n"
                                                 "足もとのごみを、ひとつ拾う。\n"
                                                 "誰かに、ありがとうと言う。\n\n"
                                                 "それでこの世界がすこし良い場所になることが、\n"
                                                 "わたしたちにとって何よりの布施です。\n\n"
                                                 "お代はいただきません。"));
    });
}

const QString &closing()
{
    static PerLanguage<QString> text;
    return text([] { return L(QStringLiteral("ありがとうございます")); });
}

QString alertTitle()
{
    return Lang::isJapanese() ? word() + QStringLiteral("（ふせ）") : word();
}

QString offerButton()
{
    return L(QStringLiteral("布施する"));
}

} // namespace Fuse
