#include "core/Isshin.h"

#include "core/L.h"

Isshin Isshin::of(QDate date)
{
    if (!date.isValid())
        return kishin;
    // QDate counts days on the proleptic Gregorian calendar, so dates before
    // 1970 give negative counts; the index is taken modulo 3 towards zero and
    // lifted back into 0...2.
    const qint64 days = QDate(1970, 1, 1).daysTo(date);
    qint64 index = days % 3;
    if (index < 0)
        index += 3;
    return allCases()[size_t(index)];
}

Isshin Isshin::of(const QDateTime &moment, const QTimeZone &zone)
{
    if (!moment.isValid())
        return kishin;
    return of(moment.toTimeZone(zone).date());
}

QString Isshin::name() const
{
    switch (m_case) {
    case kishin:
        return L(QStringLiteral("喜心"));
    case roshin:
        return L(QStringLiteral("老心"));
    case daishin:
        return L(QStringLiteral("大心"));
    }
    return QString();
}

QString Isshin::reading() const
{
    switch (m_case) {
    case kishin:
        return L(QStringLiteral("きしん"));
    case roshin:
        return L(QStringLiteral("ろうしん"));
    case daishin:
        return L(QStringLiteral("だいしん"));
    }
    return QString();
}

QString Isshin::line() const
{
    switch (m_case) {
    case kishin:
        return L(QStringLiteral("この一事に取りかかれる縁を、喜ぶ"));
    case roshin:
        return L(QStringLiteral("細部にまで、わが子のように手をかける"));
    case daishin:
        return L(QStringLiteral("出来不出来に揺れず、ただ淡々と"));
    }
    return QString();
}

QString Isshin::footerLine() const
{
    return L(QStringLiteral("今日の三心：{0} ・ {1}"), name(), line());
}

QString Isshin::dayLine() const
{
    return L(QStringLiteral("{0}（{1}）　{2}"), name(), reading(), line());
}

QString Isshin::helpTip()
{
    return L(QStringLiteral("三心とは"));
}

QString Isshin::accessibilityHint()
{
    return L(QStringLiteral("三心の説明を開く"));
}

QString Isshin::noteHeading()
{
    return L(QStringLiteral("その日の三心"));
}

QString Isshin::glossaryButton()
{
    return L(QStringLiteral("言葉のしおりを開く"));
}

QString Isshin::glossaryKey()
{
    return QStringLiteral("喜心・老心・大心");
}
