#include "views/reading/HowTo.h"

#include "core/L.h"
#include "core/ProjectAddresses.h"
#include "core/PerLanguage.h"

namespace HowTo {

namespace {
QString calendarLinkNow()
{
    return L(QStringLiteral("カレンダーとつなぐ（設定を開く）"));
}

QString siteLinkNow()
{
    return L(QStringLiteral("案内の頁をひらく"));
}

QString devicesNow()
{
    return L(QStringLiteral("同じものが動く台が、ほかにもあります"));
}
} // namespace

const QString &calendarLink()
{
    static PerLanguage<QString> text;
    return text(&calendarLinkNow);
}

const QString &siteLink()
{
    static PerLanguage<QString> text;
    return text(&siteLinkNow);
}

const QString &devices()
{
    static PerLanguage<QString> text;
    return text(&devicesNow);
}

// clang-format off
QList<Section> build()
{
    return {
        Section{L(QStringLiteral("四つの頁")),
                {L(QStringLiteral("只管（しかん）── ひとつのことに向かう時間。ここだけでも使えます")),
                 L(QStringLiteral("一日（いちじつ）── 朝と暮の一行と、予定としたことの帯")),
                 L(QStringLiteral("作務（さむ）── 手がけること。いつに置くか、いつまでにかを決められます")),
                 L(QStringLiteral("行持（ぎょうじ）── くり返すこと。日々のものと、折々のもの"))},
                std::nullopt,
                std::nullopt},
        Section{L(QStringLiteral("一　作務と行持を書く")),
                {L(QStringLiteral("作務の頁の上の欄に、手がけることを書きます")),
                 L(QStringLiteral("書いたものを押すと、いつに置くか（向き合う日）と、いつまでにか（期限）を決められます")),
                 L(QStringLiteral("行持の頁には、くり返すことを書きます。毎日のものは日々、ときどきのものは折々に")),
                 L(QStringLiteral("行持は、今日のぶんを済ませたら、左の丸を押します"))},
                std::nullopt,
                std::nullopt},
        Section{L(QStringLiteral("二　一日を書く")),
                {L(QStringLiteral("カレンダーとつなぐと、今日の予定が帯に並びます")),
                 L(QStringLiteral("朝に「今日、大切にすること」、暮に「今日、心に残ったこと」を一行ずつ書きます")),
                 L(QStringLiteral("帯の空いたところを押すと、作務を置いたり、したことを書き足したりできます")),
                 L(QStringLiteral("置いた予定を押すと「これで始める」。掴んで別の時刻へ動かせます")),
                 L(QStringLiteral("置いた予定と、坐ったこと（したこと）は、カレンダーにも書き出せます。書き出す先は設定で選びます")),
                 L(QStringLiteral("したことを押すと、直したり消したりできます")),
                 L(QStringLiteral("「心」の行を押すと、その日の三心の説明が開きます"))},
                calendarLinkNow(),
                std::nullopt},
        Section{L(QStringLiteral("三　只管で向かう")),
                {L(QStringLiteral("何にとりかかるかを書くか、右の一覧から作務・行持を選びます。作務や行持と結び付けなくても坐れます")),
                 L(QStringLiteral("題目の左の朱の点は、作務・行持と結び付いている印です")),
                 L(QStringLiteral("進み方を選ぶと、鐘が鳴り、身・息・心を調えてから坐ります")),
                 L(QStringLiteral("線香が燃え尽きるまでが一坐。一坐や一炷では、そのあと経行（ゆっくり歩く時間）が入ります")),
                 L(QStringLiteral("巡香は、選んだ作務をひとつずつ十分で巡ります。経行で「◯◯に留まる」を押すと、その作務のまま一坐を始めます")),
                 L(QStringLiteral("経行のあいだに「つづけて坐る」を押すと、歩き終えたあと、そのまま次の坐へ入ります")),
                 L(QStringLiteral("終わり方は二つ。手を離す ── ここまでにする（作務は置いておく。坐った時間は記録に残ります）")),
                 L(QStringLiteral("了とする ── その作務を終える。題目が作務・行持と結び付いているときだけ出ます")),
                 L(QStringLiteral("途中でやめても、失敗ではありません"))},
                std::nullopt,
                std::nullopt},
        Section{L(QStringLiteral("四　四九日（しくにち）")),
                {L(QStringLiteral("四と九のつく日に、作務の頁へ印が灯ります。押すと、抱えているもの・身のまわり・自分を整えます")),
                 L(QStringLiteral("最後に、次の四九日までの標（しるべ）を一行掲げます。次の四九日が来たら外れます"))},
                std::nullopt,
                std::nullopt},
        Section{L(QStringLiteral("ほかの台でも")),
                {devicesNow(),
                 L(QStringLiteral("設定の「端末をまたぐ」でつなぐと、机で置いたものを手もとで始められます"))},
                std::nullopt,
                siteLinkNow()},
    };
}
// clang-format on

const QList<Section> &sections()
{
    static PerLanguage<QList<Section>> built;
    return built(&build);
}

QString heading()
{
    return L(QStringLiteral("使い方"));
}

QString bullet()
{
    return QStringLiteral("・");
}

QUrl siteURL()
{
    return ProjectAddresses::current().webPage;
}

} // namespace HowTo
