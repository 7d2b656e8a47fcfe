#pragma once
// What every level of the search shares: its frames of the move stack, the
// two move orderings and the lazy selection that applies them, the history
// table, the node counter, and the list of legal root moves.
#include <cstddef>
#include <cstdint>

#include "board/position.h"

namespace marlek {

// A frame of global_moves: the moves from where the stack ended when the
// frame was made to its current end. Destroying the frame truncates the
// stack back, so frames nest exactly like the calls of the search.
class move_list {
 public:
  move_list() : start_(global_moves.size()) {}
  ~move_list() { global_moves.resize(start_); }
  move_list(const move_list&) = delete;
  move_list& operator=(const move_list&) = delete;

  std::size_t start() const { return start_; }
  // Read again at every step: the children of each move push and pop above.
  std::size_t end() const { return global_moves.size(); }

 private:
  std::size_t start_;
};

// History table: how often a quiet move (by origin and destination square)
// caused a cut-off, halved after each game move so that old merit fades.
inline std::uint32_t history[120][120] = {};
void reward_history(move m);
void age_history();
void clear_history();

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

// Moves made by the search since the last new_search, null moves included.
inline std::uint64_t node_count = 0;

// The root move list sits at the bottom of global_moves, [0, root_moves_end).
inline std::size_t root_moves_end = 0;
// Index of the move the engine would play, inside the root move list.
inline std::size_t best_move = 0;

// Rebuilds the root move list for the game position: legal captures first,
// best gain first, then legal quiet moves by history. Gives the root entry
// of the transposition table a hash move that is a legal root move.
void build_root_moves();

// Starts the count of nodes and time afresh and makes the root own an entry.
void new_search();

}  // namespace marlek
