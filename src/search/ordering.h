#pragma once
// The two move orderings and the lazy selection that applies them.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "board/position.h"
#include "search/search_state.h"

namespace marlek {

// Orderings: each gives a move a key, and a move with a higher key is
// searched first. Inline, since the selection below calls one per move.
// Captures by gain: victim value minus attacker value, taken before the
// move is made; an en-passant capture lands on an empty square and gains 0.
inline std::int32_t capture_gain(move m) {
  const apiece* victim = position::board[m.to];
  if (!victim) return 0;
  return victim->value - position::board[m.from]->value;
}
// Quiet moves by their history counters.
inline std::uint32_t history_of(move m) { return history[m.from][m.to]; }
// The same orderings as comparisons (true when a comes before b), for sorts.
inline bool by_capture_gain(move a, move b) { return capture_gain(a) > capture_gain(b); }
inline bool by_history(move a, move b) { return history_of(a) > history_of(b); }

// Brings a best remaining move of [i, end of the stack) to position i by one
// scan with exchanges; the earliest of equally good moves wins. The list is
// never sorted in full, so a node that cuts off early pays only for the scans
// it made. The key of the move standing at i is kept rather than taken again
// at every comparison.
template <typename key_fn>
void select_next(std::size_t i, key_fn key) {
  const std::size_t end = global_moves.size();
  auto best = key(global_moves[i]);
  for (std::size_t j = i + 1; j < end; ++j) {
    const auto challenger = key(global_moves[j]);
    if (challenger > best) {
      std::swap(global_moves[j], global_moves[i]);
      best = challenger;
    }
  }
}

// Selects the best remaining move at position i by the ordering of its
// kind (history for quiet moves, gain for captures) and returns it.
template <bool quiet>
move next_best(std::size_t i) {
  if constexpr (quiet)
    select_next(i, history_of);
  else
    select_next(i, capture_gain);
  return global_moves[i];
}

}  // namespace marlek
