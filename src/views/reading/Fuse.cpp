#include "views/reading/Fuse.h"

#include "core/L.h"

namespace Fuse {

const QString &word()
{
    static const QString text = L(QStringLiteral("布施"));
    return text;
}

const QString &message()
{
    static const QString text = L(QStringLiteral("このアプリを使ってよかったと思っていただけたなら、\n"
                                                 "そのぶんを、どうか世界のほうへ回してください。\n\n"
                                                 "隣の人の話を、最後まで聞く。\n"
                                                 "足もとのごみを、ひとつ拾う。\n"
                                                 "誰かに、ありがとうと言う。\n\n"
                                                 "それでこの世界がすこし良い場所になることが、\n"
                                                 "わたしたちにとって何よりの布施です。\n\n"
                                                 "お代はいただきません。"));
    return text;
}

const QString &closing()
{
    static const QString text = L(QStringLiteral("ありがとうございます"));
    return text;
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
