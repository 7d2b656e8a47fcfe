#pragma once
// How the searching nodes use their transposition-table entry: the cut-off
// rule, storing a result, marking the search path, and checking a stored
// move before it is made.
#include <optional>

#include "search/hash_table.h"
#include "search/helpers.h"
#include "search/scores.h"
#include "search/search_state.h"

namespace marlek {

// The cut-off rule, applied when the node's depth is at most the stored
// depth: a stored score may end the node at once, or narrow its window.
inline std::optional<int> table_cutoff(const hash_entry& entry, int depth, int& alpha, int& beta) {
  if (depth > entry.depth) return std::nullopt;
  switch (entry.bound()) {
    case lower_bound:
      if (entry.score >= beta) return entry.score;
      alpha = alpha > entry.score ? alpha : entry.score;
      break;
    case upper_bound:
      if (entry.score <= alpha) return entry.score;
      beta = beta < entry.score ? beta : entry.score;
      break;
    case exact_bound: return entry.score;
    default: break;
  }
  return std::nullopt;
}

// Stores a node's result: its score, the depth it was called with, the bound.
inline void store_result(hash_entry& entry, int score, int depth, std::uint8_t bound) {
  entry.score = score;
  entry.depth = depth;
  entry.set_bound(bound);
}

// The end of a node's moves when none reached beta. Every move illegal
// (alpha still below a mate) is mate or stalemate, an exact score; anything
// else an upper bound. Stores the result when the node has an entry.
inline int finish_node(hash_entry* entry, int alpha, int depth, bool checked) {
  std::uint8_t bound = upper_bound;
  if (alpha < mated_score) {
    alpha = checked ? mated_score : draw_score;
    bound = exact_bound;
  }
  if (entry) store_result(*entry, alpha, depth, bound);
  return alpha;
}

// Holds a node's place on the search path: the entry's in_search bit is set
// for as long as the mark lives, so the slot cannot be handed to another
// position and a return to this position is recognised. A helper thread
// keeps its path apart from the table (helpers.h).
class path_mark {
 public:
  explicit path_mark(hash_entry* entry) : entry_(entry) {
    if (searching_as_helper)
      enter_helper_path();
    else if (entry_)
      entry_->set_in_search(true);
  }
  ~path_mark() {
    if (searching_as_helper)
      leave_helper_path();
    else if (entry_)
      entry_->set_in_search(false);
  }
  path_mark(const path_mark&) = delete;
  path_mark& operator=(const path_mark&) = delete;

 private:
  hash_entry* entry_;
};

// Whether `m` is one of the moves that the piece of the side to move on m's
// origin square generates here. A stored move that fails this came from
// another position under the same key, and making it could corrupt the
// board (a pawn reaching the last rank without promoting, a move from an
// empty square).
bool fits_position(move m);

}  // namespace marlek
