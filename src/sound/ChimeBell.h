#pragma once

#include <QString>
#include <array>
#include <optional>

// One of the five bells the timer rings (used as Chime::Bell). The stored
// name of each is what the "bell" preference and the synced settings hold.
class ChimeBell
{
public:
    enum Value : int { temple = 0, small = 1, keisu = 2, inkin = 3, mokugyo = 4 };
    static constexpr int count = 5;

    constexpr ChimeBell(Value value = temple) : m_value(value) {}
    constexpr operator Value() const { return m_value; }
    constexpr int rawValue() const { return int(m_value); }

    static const std::array<ChimeBell, count> &all();

    // The bell with that stored name (exact, case-sensitive), or temple for
    // nothing or any other text. Never fails.
    static ChimeBell from(const std::optional<QString> &name);
    // The bell with that stored name, or nothing.
    static std::optional<ChimeBell> fromName(const QString &name);
    // The bell with that number (0-4), or nothing.
    static std::optional<ChimeBell> fromRawValue(int raw);

    // "Bonsho", "Kansho", "Keisu", "Inkin" or "Mokugyo".
    QString name() const;
    // The settings' one-line description, in the interface language.
    QString detail() const;

private:
    Value m_value;
};
