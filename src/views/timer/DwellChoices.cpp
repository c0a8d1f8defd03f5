#include "views/timer/DwellChoices.h"

#include "core/L.h"
#include "model/AppModel.h"

DwellChoices DwellChoices::of(const AppModel &model)
{
    DwellChoices choices;
    choices.heading = L(QStringLiteral("一巡しました。"));
    choices.titles = model.roundsToDwell();
    if (!choices.titles.isEmpty())
        choices.question = L(QStringLiteral("いま、居たい作務はありますか。"));
    return choices;
}
