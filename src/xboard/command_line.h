#pragma once
// The current command line and its words. The line is copied into
// `input_line` and split in place: each word ends where a NUL replaced the
// space after it. Only the single space separates words, so two spaces in a
// row give an empty word and a tab belongs to its word. Handlers take no
// parameters and read their arguments from here; the state is valid until
// the next line is started.
#include <cstdint>
#include <string_view>

#include "base/line_limit.h"

namespace marlek {

inline constexpr int max_words = 10;

inline char input_line[max_line_length + 1];
// The words split off so far; words[0] is the command word. Only the first
// max_words are kept.
inline char* words[max_words];
// Words split off so far, counting those beyond max_words, so that a handler
// that expects a fixed count rejects a longer line.
inline int word_count = 0;
// The text after the space that ended the last word split off: after the
// command word, the command's argument text, spaces included. An empty
// string when no space followed.
inline char* line_rest = input_line;

// Copies `line` (at most max_line_length characters; a longer one is cut)
// into input_line and splits off the command word.
void start_line(std::string_view line);

// Records `text` as the next word and ends it at its first space. Returns
// whether a space ended it, that is whether another word follows.
bool split_word(char* text);

// Splits off every remaining word of the line. A trailing space gives a
// final empty word.
void split_rest();

}  // namespace marlek
