#include "core/L.h"

#include "platform/files/Preferences.h"

#include <QLocale>
#include <QRegularExpression>
#include <array>
#include <cmath>

namespace {
std::optional<bool> g_japanese;

bool decideJapanese()
{
    if (const auto lang = Preferences::standard().string(QStringLiteral("kivLang")))
        return *lang == QStringLiteral("ja");
    const QStringList preferred = QLocale::system().uiLanguages();
    const QString first = preferred.isEmpty() ? QStringLiteral("ja") : preferred.first();
    return first.startsWith(QStringLiteral("ja"));
}

// "1 days" → "1 day" where the 1 is not part of a longer number.
QString singular(QString text)
{
    // Most texts have no "1 " at all: they are not scanned five times (nor
    // the expressions compiled for them).
    if (!text.contains(QStringLiteral("1 ")))
        return text;
    static const std::array<QRegularExpression, 5> patterns = [] {
        std::array<QRegularExpression, 5> out;
        const char *words[] = {"days", "sits", "tasks", "records", "things"};
        for (int i = 0; i < 5; ++i)
            out[size_t(i)] = QRegularExpression(QStringLiteral("(?<![0-9.])1 ") + QString::fromLatin1(words[i])
                                                + QStringLiteral("\\b"));
        return out;
    }();
    static const std::array<QString, 5> replacements = {
        QStringLiteral("1 day"), QStringLiteral("1 sit"), QStringLiteral("1 task"),
        QStringLiteral("1 record"), QStringLiteral("1 thing")};
    for (size_t i = 0; i < patterns.size(); ++i)
        text.replace(patterns[i], replacements[i]);
    return text;
}
} // namespace

namespace Lang {
bool isJapanese()
{
    if (!g_japanese)
        g_japanese = decideJapanese();
    return *g_japanese;
}

void setForTesting(std::optional<bool> japanese)
{
    g_japanese = japanese;
}
} // namespace Lang

namespace TextDetail {

QString textOfDouble(double d)
{
    if (std::isnan(d))
        return QStringLiteral("nan");
    if (std::isinf(d))
        return d > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    QString s = QString::number(d, 'g', QLocale::FloatingPointShortest);
    if (!s.contains(QLatin1Char('.')) && !s.contains(QLatin1Char('e')))
        s += QStringLiteral(".0");
    return s;
}

QString lookup(const QString &key, const QStringList &args, bool withArgs)
{
    const QStringList parts = key.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QString text = parts.isEmpty() ? key : parts.first();
    const bool japanese = Lang::isJapanese();
    if (!japanese) {
        if (auto english = English::text(key))
            text = *std::move(english);
    }
    for (int i = 0; i < args.size(); ++i)
        text.replace(QLatin1Char('{') + QString::number(i) + QLatin1Char('}'), args[i]);
    if (withArgs && !japanese)
        text = singular(text);
    return text;
}

} // namespace TextDetail

QString monthDay(int month, int day)
{
    if (Lang::isJapanese())
        return QStringLiteral("%1月%2日").arg(month).arg(day);
    static const char *months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month >= 1 && month <= 12)
        return QStringLiteral("%1 %2").arg(QString::fromLatin1(months[month - 1])).arg(day);
    return QStringLiteral("%1/%2").arg(month).arg(day);
}

QString stampShown(const QString &text)
{
    if (Lang::isJapanese())
        return text;
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    if (space < 0)
        return text;
    QString stamp = text.left(space);
    stamp.remove(QStringLiteral("日"));
    QList<int> numbers;
    for (const QString &part : stamp.split(QStringLiteral("月"), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = part.toInt(&ok);
        if (ok)
            numbers << n;
    }
    if (numbers.size() != 2)
        return text;
    return monthDay(numbers[0], numbers[1]) + text.mid(space);
}
