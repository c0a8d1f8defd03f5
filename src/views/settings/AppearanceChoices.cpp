#include "views/settings/AppearanceChoices.h"

#include "core/L.h"

#include <cmath>

namespace AppearanceChoices {

QList<TextSize> textSizes()
{
    return {
        {1.0, L("そのまま")},
        {1.15, L("すこし大きく")},
        {1.3, L("大きく")},
        {1.5, L("とても大きく")},
    };
}

std::optional<int> textSizeIndex(double stored)
{
    const QList<TextSize> sizes = textSizes();
    for (int i = 0; i < sizes.size(); ++i)
        if (std::abs(sizes.at(i).value - stored) < 1e-9)
            return i;
    return std::nullopt;
}

PickerRow::Options faceOptions()
{
    return {
        {rawValue(FocusVisual::incense), L("線香")},
        {rawValue(FocusVisual::ring), L("円相")},
    };
}

QString faceDescription(FocusVisual face)
{
    if (face == FocusVisual::ring)
        return L("細い弧が一周して、区切りの終わりを示します。");
    return L("線香が上から灰になり、香炉に灰が積もっていきます。");
}

} // namespace AppearanceChoices
