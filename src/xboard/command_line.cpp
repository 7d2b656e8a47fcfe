#include "xboard/command_line.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace marlek {

namespace {
// Whether the last word split off was ended by a space.
bool more_words = false;
}  // namespace

void start_line(std::string_view line) {
  std::size_t length = std::min(line.size(), max_line_length);
  std::copy_n(line.data(), length, input_line);
  input_line[length] = '\0';
  word_count = 0;
  more_words = split_word(input_line);
}

bool split_word(char* text) {
  if (word_count < max_words) words[word_count] = text;
  ++word_count;
  char* end = text;
  while (*end != '\0' && *end != ' ') ++end;
  if (*end == '\0') {
    line_rest = end;
    return false;
  }
  *end = '\0';
  line_rest = end + 1;
  return true;
}

void split_rest() {
  while (more_words) more_words = split_word(line_rest);
}

std::int32_t leading_integer(const char* text) {
  constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  std::int64_t value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
    value = std::min(value * 10 + (*text - '0'), high + 1);
  return static_cast<std::int32_t>(std::clamp(negative ? -value : value, low, high));
}

}  // namespace marlek
