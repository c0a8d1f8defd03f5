#include "views/daily/SweepFlow.h"

#include "core/L.h"
#include "stores/Totonoe.h"

#include <algorithm>

namespace SweepFlow {

using Kind = AppModel::SweepStep::Kind;

Page pageOf(const Sweeping &sweeping)
{
    if (!sweeping)
        return Page::none;
    switch (sweeping->step.kind) {
    case Kind::opening:
        return Page::opening;
    case Kind::looking:
        return Page::looking;
    case Kind::asking:
        return Page::asking;
    case Kind::tidying:
        return Page::tidying;
    case Kind::resting:
        return Page::resting;
    case Kind::standing:
        return Page::standing;
    }
    return Page::none;
}

Sweeping advanced(const Sweeping &sweeping)
{
    if (!sweeping)
        return std::nullopt;
    AppModel::Sweeping next = *sweeping;
    next.step = AppModel::SweepStep::following(sweeping->step, int(sweeping->targets.size()));
    return next;
}

QString countLine(const Sweeping &sweeping)
{
    if (sweeping && !sweeping->targets.isEmpty())
        return L(QStringLiteral("抱えているもの {0} 件を、ひとつずつ"), int(sweeping->targets.size()));
    return L(QStringLiteral("抱えているもので、払うものはありません"));
}

QString lookbackNext(const Sweeping &sweeping)
{
    if (sweeping && !sweeping->targets.isEmpty())
        return L(QStringLiteral("払いへ"));
    return L(QStringLiteral("次へ"));
}

QString position(const Sweeping &sweeping)
{
    if (!sweeping || sweeping->step.kind != Kind::asking)
        return QString();
    return QStringLiteral("%1 / %2").arg(sweeping->step.index + 1).arg(sweeping->targets.size());
}

QString heading(int index)
{
    const QStringList &numerals = Totonoe::numerals();
    const QStringList &labels = Totonoe::labels();
    if (index < 0 || index >= numerals.size() || index >= labels.size())
        return QString();
    return numerals.at(index) + QLatin1Char(' ') + labels.at(index);
}

double barWidth(int minutes, int total, double available)
{
    const double fraction = total >= 1 ? double(minutes) / double(total) : 0.0;
    return std::max(1.0, fraction * available);
}

Suggestions surroundings()
{
    return {1,
            L(QStringLiteral("身のまわりを整える")),
            L(QStringLiteral("身のまわりにも、ひとつ手を入れませんか。")),
            Totonoe::surroundings(),
            L(QStringLiteral("全部でなくてよい。ひとつだけ。")),
            L(QStringLiteral("次へ"))};
}

Suggestions oneself()
{
    return {2,
            L(QStringLiteral("自分を整える")),
            L(QStringLiteral("自分にも、少し手を入れませんか。")),
            Totonoe::oneself(),
            L(QStringLiteral("道場では、この日に髪を剃り、風呂を焚きました。")),
            L(QStringLiteral("標へ"))};
}

int shownIndex(int count, const QDateTime &on, int offset, const QTimeZone &zone)
{
    const int n = std::max(count, 1);
    // The offset only grows from 0; a negative one would still land in the list.
    const int sum = Totonoe::start(count, on, zone) + offset % n + n;
    return sum % n;
}

QString suggestionLine(const Suggestions &page, const QDateTime &on, int offset, const QTimeZone &zone)
{
    if (page.items.isEmpty())
        return QString();
    const QString &item = page.items.at(shownIndex(int(page.items.size()), on, offset, zone));
    return L(QStringLiteral("今日は、{0}。"), item);
}

QString guideShown(const QString &guide)
{
    return guide.isEmpty() ? QStringLiteral("\u3000") : guide;
}

} // namespace SweepFlow
