#include "stores/Shikunichi.h"

#include "core/L.h"
#include "stores/DayMath.h"

namespace Shikunichi {

// Each text is looked up once per interface language: still pictures draw
// both languages in one run.
const QString &word()
{
    static QString texts[2];
    QString &text = texts[Lang::isJapanese() ? 0 : 1];
    if (text.isEmpty())
        text = L("四九日");
    return text;
}

const QString &reading()
{
    static QString texts[2];
    QString &text = texts[Lang::isJapanese() ? 0 : 1];
    if (text.isEmpty())
        text = L("しくにち");
    return text;
}

const QString &explanation()
{
    static QString texts[2];
    QString &text = texts[Lang::isJapanese() ? 0 : 1];
    if (text.isEmpty())
        text = L("道場では、四と九のつく日を、髪を剃り、風呂を焚き、衣を洗う日にあてます。\n"
                 "身のまわりを整える日。\n"
                 "ここでは三つを整えます ── 抱えているもの、身のまわり、自分。");
    return text;
}

namespace {
bool isSweepDayOfMonth(int day)
{
    return day % 10 == 4 || day % 10 == 9;
}

// The nearest sweep day within 11 days in the direction of step.
std::optional<QDateTime> search(const QDateTime &from, int step, const QTimeZone &zone)
{
    for (int k = 1; k <= 11; ++k) {
        const QDateTime candidate = DayMath::addDays(from, k * step, zone);
        if (!candidate.isValid())
            continue;
        if (isSweepDayOfMonth(DayMath::dateIn(candidate, zone).day()))
            return DayMath::startOfDay(candidate, zone);
    }
    return std::nullopt;
}
} // namespace

bool isSweepDay(const QDateTime &date, const QTimeZone &zone)
{
    return isSweepDayOfMonth(DayMath::dateIn(date, zone).day());
}

std::optional<QDateTime> next(const QDateTime &after, const QTimeZone &zone)
{
    return search(after, 1, zone);
}

std::optional<QDateTime> previous(const QDateTime &before, const QTimeZone &zone)
{
    return search(before, -1, zone);
}

QString closing(const QDateTime &on, const QTimeZone &zone)
{
    if (isSweepDay(on, zone))
        return L("今日は、整える日です。");
    return L("今日は四九日ではありません。それでも、いま整えられます。\n次の四九日は、暦のとおりに来ます。");
}

} // namespace Shikunichi
