#include "views/settings/SweepHint.h"

#include "core/L.h"
#include "stores/Shikunichi.h"

namespace SweepHint {

QString text(const QDateTime &now, const QTimeZone &zone)
{
    const std::optional<QDateTime> next = Shikunichi::next(now, zone);
    if (!next)
        return L("顧みと払いに入ります。四九日でなくても構いません。\n四九日そのものは、これまでどおり暦のとおりに来ます。");
    const QDate day = next->toTimeZone(zone).date();
    return L("顧みと払いに入ります。四九日でなくても構いません。\n四九日そのものは、これまでどおり暦のとおりに来ます（次は {0}）。",
             monthDay(day.month(), day.day()));
}

} // namespace SweepHint
