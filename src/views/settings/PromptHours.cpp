#include "views/settings/PromptHours.h"

#include "core/L.h"

namespace PromptHours {
namespace {

PickerRow::Options hours(int first, int last)
{
    PickerRow::Options options;
    for (int hour = first; hour <= last; ++hour)
        options.append({tag(hour), hourText(hour)});
    return options;
}

} // namespace

PickerRow::Options morning()
{
    return hours(4, 12);
}

PickerRow::Options evening()
{
    return hours(16, 23);
}

QString hourText(int hour)
{
    return L("{0}時", QString::number(hour));
}

QString tag(int hour)
{
    return QString::number(hour);
}

QString planNoticeCaption()
{
    return L("時刻まで決めて置いたものだけ、{0}分前に一度きり。\n坐っているあいだは出しません ── 坐っている人を呼び戻さないので。",
             QString::number(kNoticeMinutes));
}

} // namespace PromptHours
