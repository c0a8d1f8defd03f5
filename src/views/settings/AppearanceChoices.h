#pragma once

#include "core/AppSettings.h"
#include "views/settings/PickerRow.h"

#include <QList>
#include <QString>
#include <optional>

// The choices of the appearance rows: the four text sizes, the two faces
// shown during a sitting and the line that describes the chosen face.
namespace AppearanceChoices {

struct TextSize
{
    double value = 1.0;
    QString label;
};
// Default, a little larger, larger, largest (1.0, 1.15, 1.3, 1.5).
QList<TextSize> textSizes();
// The choice that stands for a stored scale; none when it matches none.
std::optional<int> textSizeIndex(double stored);

// Incense, then ensō, tagged with their stored names.
PickerRow::Options faceOptions();
QString faceDescription(FocusVisual face);

} // namespace AppearanceChoices
