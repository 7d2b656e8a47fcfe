#include "xboard/command_line.h"

#include <algorithm>

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

}  // namespace marlek
