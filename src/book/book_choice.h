#pragma once
// Choosing the engine's move from the book when it is on move.
//
// The book stores positions, so each legal root move is tried: the moves
// whose position is in the book are the candidates, and one of them is drawn
// at random. The generator is never seeded, so identical games get identical
// book choices.
#include <cstddef>
#include <cstdint>

#include "board/move.h"

namespace marlek {

// A linear congruential generator owned by the engine thread; a fresh one
// starts at state 1. Each draw advances the state modulo 2^32 and returns a
// value from 0 to 32767.
class book_random {
 public:
  static constexpr std::uint32_t multiplier = 22695477;
  static constexpr std::uint32_t increment = 1;
  static constexpr std::uint32_t output_shift = 16;
  static constexpr std::uint32_t output_mask = 32767;

  std::uint32_t next() {
    state_ = state_ * multiplier + increment;
    return (state_ >> output_shift) & output_mask;
  }

 private:
  std::uint32_t state_ = 1;
};

// The root moves that lead to a book position, in root-list order. The
// list is refilled by every call and kept between calls.
const move::move_vector& find_book_candidates();

// The book step of the engine's move, when use_book is set. With a
// candidate, draws one and returns true with `index` at the first root
// move equal to it: the engine plays that move. Without one returns false,
// and past ply 20 also clears use_book for the rest of the game. Returns
// false at once while use_book is clear.
bool choose_book_move(book_random& rng, std::size_t& index);

}  // namespace marlek
