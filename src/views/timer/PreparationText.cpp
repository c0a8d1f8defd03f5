#include "views/timer/PreparationText.h"

#include "core/L.h"

double PreparationText::secondsOf(Preparation step)
{
    return step == Preparation::breath ? 6 : 4;
}

PreparationText PreparationText::of(Preparation step)
{
    QString key;
    QString kana;
    QString instruction;
    switch (step) {
    case Preparation::body:
        key = QStringLiteral("調身");
        kana = QStringLiteral("ちょうしん");
        instruction = QStringLiteral("背をのばし、肩の力を抜いて、姿勢を整えて");
        break;
    case Preparation::breath:
        key = QStringLiteral("調息");
        kana = QStringLiteral("ちょうそく");
        instruction = QStringLiteral("ひとつ、深く息を吸って、ゆっくり吐いて");
        break;
    case Preparation::mind:
        key = QStringLiteral("調心");
        kana = QStringLiteral("ちょうしん");
        instruction = QStringLiteral("心を、これから向き合うことへ");
        break;
    }
    PreparationText text;
    text.word = L(key);
    text.reading = Lang::isJapanese() ? kana : key;
    text.instruction = L(instruction);
    text.seconds = secondsOf(step);
    return text;
}

std::optional<QString> PreparationText::titleLine(const QString &title)
{
    // A title of blanks alone names nothing either.
    if (title.trimmed().isEmpty())
        return std::nullopt;
    return L(QStringLiteral("「{0}」"), title);
}
