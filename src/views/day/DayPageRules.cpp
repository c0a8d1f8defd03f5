#include "views/day/DayPageRules.h"

#include "core/Isshin.h"
#include "core/L.h"
#include "stores/DayNoteStore.h"

#include <QLocale>
#include <algorithm>

namespace DayPageRules {

QList<StandingLine> standing(const QDate &day, const DayNoteStore &days)
{
    const QDateTime moment(day, QTime(12, 0));
    QList<StandingLine> lines;
    lines << StandingLine{QStringLiteral("心"), Isshin::of(day).dayLine()};
    if (const auto guide = days.currentGuide(moment); guide && !guide->isEmpty())
        lines << StandingLine{QStringLiteral("標"), *guide};
    const QString intention = days.note(moment).intention.trimmed();
    if (!intention.isEmpty())
        lines << StandingLine{QStringLiteral("朝"), intention};
    return lines;
}

QString title(const QDate &day, bool japanese)
{
    if (japanese)
        return QLocale(QStringLiteral("ja_JP")).toString(day, QStringLiteral("M月d日(ddd)"));
    return QLocale(QStringLiteral("en_US")).toString(day, QStringLiteral("ddd, MMM d"));
}

QString bannerText(int dayOfMonth)
{
    const int last = dayOfMonth % 10;
    if (last == 4 || last == 9)
        return L(QStringLiteral("四九日です。四九日をしませんか"));
    return L(QStringLiteral("標が外れました。四九日をしませんか"));
}

int scrollHour(int hour)
{
    return hour >= 2 ? hour - 1 : 0;
}

bool placesDeed(std::optional<bool> column, bool pastDay, bool today, int slotEnd, int nowMinute)
{
    if (column)
        return *column;
    if (pastDay)
        return true;
    return today && slotEnd <= nowMinute;
}

int planEditorStart(const DayPlan &plan, std::optional<int> now)
{
    if (plan.timed)
        return plan.startMinutes;
    if (!now)
        return 540;
    return std::min((*now + 29) / 30 * 30, 1410);
}

CardLook morningCard(int openedHour)
{
    const bool evening = openedHour >= 17;
    return {evening, evening ? 0.5 : 1.0, evening ? 0.72 : 1.0};
}

CardLook eveningCard(int openedHour)
{
    const bool evening = openedHour >= 17;
    return {!evening, evening ? 1.0 : 0.5, evening ? 1.0 : 0.72};
}

static bool isBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2028) || c == QChar(0x2029);
}

QString oneLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!isBreak(c))
            out.append(c);
    return out;
}

bool hasLineBreak(const QString &text)
{
    return std::any_of(text.begin(), text.end(), isBreak);
}

QDate moved(const QDate &day, int days)
{
    return day.addDays(days);
}

} // namespace DayPageRules
