#include "base/numbers.h"

#include <algorithm>
#include <limits>

namespace marlek {

namespace {

constexpr std::int64_t millis_per_second = 1000;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A number's parts, read from the start of a text: its sign, its digits as
// a value, how many digits and characters that took.
struct reading {
  bool negative = false;
  std::int64_t value = 0;  // milliseconds when read as seconds
  std::size_t digits = 0;
  std::size_t used = 0;
};

reading read_from(std::string_view text, bool allow_sign, bool with_fraction, bool skip_space) {
  reading r;
  std::size_t i = 0;
  if (skip_space)
    while (i < text.size() && is_space(text[i])) ++i;
  if (allow_sign && i < text.size() && (text[i] == '-' || text[i] == '+'))
    r.negative = text[i++] == '-';
  for (; i < text.size() && is_digit(text[i]); ++i, ++r.digits)
    r.value = std::min(r.value * 10 + (text[i] - '0'), number_limit);
  if (with_fraction) {
    r.value = std::min(r.value * millis_per_second, number_limit);
    if (i < text.size() && text[i] == '.') {
      std::int64_t scale = millis_per_second;
      for (++i; i < text.size() && is_digit(text[i]); ++i, ++r.digits) {
        scale /= 10;
        r.value = std::min(r.value + (text[i] - '0') * scale, number_limit);
      }
    }
  }
  r.used = i;
  if (r.negative) r.value = -r.value;
  return r;
}

std::optional<std::int64_t> whole(std::string_view word, bool allow_sign, bool with_fraction) {
  const reading r = read_from(word, allow_sign, with_fraction, false);
  if (r.digits == 0 || r.used != word.size()) return std::nullopt;
  return r.value;
}

}  // namespace

std::optional<std::int64_t> whole_number(std::string_view word) { return whole(word, true, false); }

std::optional<std::int64_t> count_word(std::string_view word) { return whole(word, false, false); }

std::optional<std::int64_t> seconds_word(std::string_view word) { return whole(word, false, true); }

std::int64_t leading_integer(std::string_view text) {
  return read_from(text, true, false, true).value;
}

std::int64_t leading_seconds_ms(std::string_view text) {
  return read_from(text, true, true, true).value;
}

std::int32_t clamp_to_int32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace marlek
