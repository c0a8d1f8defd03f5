#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <array>

// The three minds of the day (喜心, 老心, 大心). Every date carries one of them
// by a fixed rotation over the days counted from 1970-01-01, so every device
// shows the same mind on the same date without storing or syncing anything.
// Never stored: it is worked out again wherever it is shown.
class Isshin
{
public:
    // The order is the rotation: day 0 (1970-01-01) is kishin.
    enum Case { kishin, roshin, daishin };

    constexpr Isshin(Case c)
        : m_case(c)
    {
    }

    static constexpr std::array<Case, 3> allCases() { return {kishin, roshin, daishin}; }

    // The mind of a calendar date (a proleptic Gregorian date; an invalid
    // date gives kishin).
    static Isshin of(QDate date);
    // The mind of the date on which the moment falls in the zone: it changes
    // at local midnight, not at midnight UTC.
    static Isshin of(const QDateTime &moment, const QTimeZone &zone = QTimeZone::systemTimeZone());

    constexpr Case value() const { return m_case; }
    constexpr bool operator==(const Isshin &) const = default;

    // The texts of the mind, looked up through L when called.
    QString name() const;    // 喜心 / Kishin
    QString reading() const; // きしん / joyful mind
    QString line() const;    // the one-line meaning

    // The footer line: "今日の三心：{name} ・ {line}".
    QString footerLine() const;
    // The day page's standing line of the mind: "{name}（{reading}）　{line}";
    // in English "{name} — {line}" (the reading is left out).
    QString dayLine() const;

    // Texts around the mind: the help tip and accessibility hint of the footer
    // line, the note's heading and its button to the glossary.
    static QString helpTip();
    static QString accessibilityHint();
    static QString noteHeading();
    static QString glossaryButton();
    // The glossary key whose detail the note shows (never looked up).
    static QString glossaryKey();

private:
    Case m_case;
};

inline size_t qHash(const Isshin &mind, size_t seed = 0)
{
    return size_t(mind.value()) ^ seed;
}
