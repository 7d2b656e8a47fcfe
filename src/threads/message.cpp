#include "threads/message.h"

#include <algorithm>

namespace marlek {

namespace {
// Copies `from` into `to`, cut to its room, and ends it with a NUL.
template <std::size_t size>
void copy_text(std::string_view from, char (&to)[size]) {
  const std::size_t length = std::min(from.size(), size - 1);
  std::copy_n(from.data(), length, to);
  to[length] = '\0';
}
}  // namespace

user_move::user_move(std::string_view move_text) : message(kind_id) {
  copy_text(move_text, text);
  mv = move(text);
}

setboard::setboard(std::string_view fen, bool chess960_game)
    : message(kind_id), chess960(chess960_game) {
  copy_text(fen, text);
}

}  // namespace marlek
