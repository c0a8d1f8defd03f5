#pragma once

#include <cstddef>
#include <span>

// The English text table as written: one pair of UTF-8 texts per row, the
// Japanese key (with its "|" word, if any) and its English form.
// `English::table()` (declared with `L`) is built once from these rows.
namespace English {

struct Pair
{
    const char *japanese;
    const char *english;
};

// Every row, in source order.
std::span<const Pair> pairs();

} // namespace English
