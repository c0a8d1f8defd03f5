#pragma once

#include "core/L.h"

#include <optional>

// A value built from fixed texts (a title, a list of sections), made once for
// each interface language and kept, for the functions that hand out a
// reference to it or run on every row. The language is decided once in the
// program, but a still picture (and a test) shows both languages in one run,
// so the value must follow a switch.
//
//     static PerLanguage<QString> title;
//     return title([] { return L(key); });
template<typename T>
class PerLanguage
{
public:
    template<typename Make>
    const T &operator()(Make make)
    {
        std::optional<T> &value = m_values[Lang::isJapanese() ? 1 : 0];
        if (!value)
            value.emplace(make());
        return *value;
    }

private:
    std::optional<T> m_values[2];
};
