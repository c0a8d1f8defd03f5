#pragma once

#include <QString>
#include <QStringList>
#include <concepts>
#include <optional>
#include <type_traits>

// The interface language, decided once per run: the "kivLang" preference when
// set (Japanese exactly when it is "ja"), else the first of the user's
// preferred languages (Japanese when it begins with "ja").
namespace Lang {
bool isJapanese();
// Tests choose the language before first use (or switch it between cases);
// nothing resets the decision back to the preference.
void setForTesting(std::optional<bool> japanese);
} // namespace Lang

// The English text written for a Japanese text (with its "|" word), if any.
namespace English {
std::optional<QString> text(const QString &key);
}

namespace TextDetail {
// The default text form of an argument: strings as they are, integers in
// decimal, floating-point numbers always with a fractional part (2.5, 1.0).
inline QString textOf(const QString &s) { return s; }
inline QString textOf(const char *s) { return QString::fromUtf8(s); }
inline QString textOf(QChar c) { return QString(c); }
QString textOfDouble(double d);
template<typename T>
    requires std::is_floating_point_v<T>
QString textOf(T d)
{
    return textOfDouble(double(d));
}
template<typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>)
QString textOf(T n)
{
    return QString::number(n);
}
inline QString textOf(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }

QString lookup(const QString &key, const QStringList &args, bool withArgs);
} // namespace TextDetail

// The text to show for a Japanese key, with "{0}", "{1}", ... filled in order.
// In English, after filling, "1 days" (sits, tasks, records, things) becomes
// singular.
template<typename... Args>
QString L(const QString &key, const Args &...args)
{
    return TextDetail::lookup(key, QStringList{TextDetail::textOf(args)...}, sizeof...(Args) > 0);
}

// Month and day in the interface language: 3月5日, or Mar 5.
QString monthDay(int month, int day);

// A text opening with a Japanese month-day stamp ("10月4日 10:06"), with the
// stamp shown in the interface language ("Oct 4 10:06").
QString stampShown(const QString &text);
