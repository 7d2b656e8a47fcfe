#pragma once
// Numbers as GUIs write them, in command words and arguments: the one
// reader that both front ends (and the FEN and book readers) use, so that
// every protocol reads a number the same way.
//
// Two kinds of reading:
//   - a whole word that must be a number and nothing else (`sd 8`,
//     `go depth 8`, `setoption ... value 64`): anything else is refused;
//   - the leading number of a text, read as the C library reads one
//     (white space, a sign, digits up to the first non-digit, 0 without
//     digits), which older protocol commands were defined by (`ping 3x`).
// Every value saturates at number_limit, far beyond any clock, depth or
// node count, and far enough from the ends of 64 bits that sums and
// differences of two such numbers cannot overflow.
#include <cstdint>
#include <optional>
#include <string_view>

namespace marlek {

inline constexpr std::int64_t number_limit = std::int64_t{1} << 50;

// A whole word of digits with an optional sign ("12", "-5", "+3").
std::optional<std::int64_t> whole_number(std::string_view word);

// A whole word of digits only, no sign: a count ("8", "64").
std::optional<std::int64_t> count_word(std::string_view word);

// A whole word holding seconds with an optional decimal fraction ("2",
// "0.5", "1.25"), as milliseconds; digits beyond the third decimal drop.
std::optional<std::int64_t> seconds_word(std::string_view word);

// The leading integer of `text`: optional white space, optional sign,
// digits; 0 when there are none.
std::int64_t leading_integer(std::string_view text);

// The leading seconds of `text` as leading_integer reads them, with a
// decimal fraction allowed, as milliseconds.
std::int64_t leading_seconds_ms(std::string_view text);

// `value` brought into [low, high].
std::int32_t clamp_to_int32(std::int64_t value);

}  // namespace marlek
