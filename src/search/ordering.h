#pragma once
// The two move orderings and the lazy selection that applies them.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "board/position.h"
#include "search/search_state.h"

namespace marlek {

// Orderings: true when a is to be searched before b. Inline, since the
// selection below calls one for every pair it compares.
// Captures by gain: victim value minus attacker value, taken before the
// move is made; an en-passant capture lands on an empty square and gains 0.
inline std::int32_t capture_gain(move m) {
  const apiece* victim = position::board[m.to];
  if (!victim) return 0;
  return victim->value - position::board[m.from]->value;
}
inline bool by_capture_gain(move a, move b) { return capture_gain(a) > capture_gain(b); }
// Quiet moves by their history counters.
inline bool by_history(move a, move b) { return history[a.from][a.to] > history[b.from][b.to]; }

// Brings a best remaining move of [i, end of the stack) to position i by one
// scan with exchanges; the earliest of equally good moves wins. The list is
// never sorted in full, so a node that cuts off early pays only for the scans
// it made.
template <typename better_fn>
void select_next(std::size_t i, better_fn better) {
  const std::size_t end = global_moves.size();
  for (std::size_t j = i + 1; j < end; ++j)
    if (better(global_moves[j], global_moves[i])) std::swap(global_moves[j], global_moves[i]);
}

// Selects the best remaining move at position i by the ordering of its
// kind (history for quiet moves, gain for captures) and returns it.
template <bool quiet>
move next_best(std::size_t i) {
  if constexpr (quiet)
    select_next(i, by_history);
  else
    select_next(i, by_capture_gain);
  return global_moves[i];
}

}  // namespace marlek
