#pragma once
// Numbers as GUIs write them in command arguments: times in seconds with a
// fraction (st 2.5, level 0 1 0.5) and plain counts (sd 8, memory 64).
#include <cstdint>
#include <optional>
#include <string_view>

namespace marlek {

// A whole word holding seconds, a decimal fraction allowed ("2", "0.5",
// "1.25"), as milliseconds; nullopt for anything else (a sign, no digits,
// trailing text). Milliseconds beyond the third decimal are dropped.
std::optional<std::int64_t> seconds_word(std::string_view word);

// The leading seconds of `text`, as the leading integer conversion reads
// them but with a decimal fraction: optional sign, digits, '.' and more
// digits; 0 when there are none. Saturates far beyond any clock.
std::int64_t leading_seconds_ms(const char* text);

// A whole word holding a count: digits only, at least one; nullopt for
// anything else. Saturates at the largest 64-bit value.
std::optional<std::uint64_t> count_word(std::string_view word);

}  // namespace marlek
