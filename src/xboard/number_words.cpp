#include "xboard/number_words.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace marlek {

namespace {

constexpr std::int64_t millis_per_second = 1000;
// Far beyond any clock, far within 64 bits once made milliseconds.
constexpr std::int64_t most_seconds = std::int64_t{1} << 40;

bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Reads digits, '.' and digits from the start of `text` into milliseconds;
// `used` is how many characters that took.
std::int64_t read_ms(std::string_view text, std::size_t& used) {
  std::int64_t seconds = 0;
  std::size_t i = 0;
  for (; i < text.size() && is_digit(text[i]); ++i)
    seconds = std::min(seconds * 10 + (text[i] - '0'), most_seconds);
  std::int64_t fraction = 0;
  if (i < text.size() && text[i] == '.') {
    std::int64_t scale = millis_per_second;
    for (++i; i < text.size() && is_digit(text[i]); ++i) {
      scale /= 10;
      fraction += (text[i] - '0') * scale;
    }
  }
  used = i;
  return seconds * millis_per_second + fraction;
}

}  // namespace

std::optional<std::int64_t> seconds_word(std::string_view word) {
  std::size_t used = 0;
  const std::int64_t ms = read_ms(word, used);
  const bool has_digit = word.find_first_of("0123456789") != std::string_view::npos;
  if (!has_digit || used != word.size()) return std::nullopt;
  return ms;
}

std::int64_t leading_seconds_ms(const char* text) {
  std::string_view rest(text);
  while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.front())))
    rest.remove_prefix(1);
  const bool negative = !rest.empty() && rest.front() == '-';
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) rest.remove_prefix(1);
  std::size_t used = 0;
  const std::int64_t ms = read_ms(rest, used);
  return negative ? -ms : ms;
}

std::optional<std::uint64_t> count_word(std::string_view word) {
  if (word.empty()) return std::nullopt;
  constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t value = 0;
  for (char c : word) {
    if (!is_digit(c)) return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    value = value > (most - digit) / 10 ? most : value * 10 + digit;
  }
  return value;
}

}  // namespace marlek
