#pragma once
// The set-ups of protocol version 1, whose GUIs know no FEN: a board edited
// square by square, and the side to move named by `white` or `black`. Both
// keep what the command leaves unsaid from the engine's current game, which
// only the engine thread knows.
#include <array>
#include <cstdint>

#include "threads/message.h"

namespace marlek {

// The changes an `edit` made, by square 8 * rank + file: 0 leaves the square
// as it is in the current position, '.' empties it, a piece letter (upper
// case White, lower case Black) puts that piece there.
struct edit_board : message {
  static constexpr std::int32_t kind_id = 23;
  edit_board() : message(kind_id) {}
  std::array<char, 64> squares{};
};

// `white` or `black`: that side is to move, and the engine plays the other.
struct set_side : message {
  static constexpr std::int32_t kind_id = 24;
  explicit set_side(std::int32_t colour) : message(kind_id), side(colour) {}
  std::int32_t side;
};

}  // namespace marlek
