#include "book/book_choice.h"

#include <algorithm>

#include "base/flags.h"
#include "board/position.h"
#include "book/opening_book.h"
#include "search/root_moves.h"
#include "search/search_state.h"

namespace marlek {

namespace {

// Up to this ply a miss leaves the book on: a game set up from the start
// may still transpose into it. After it, the first miss switches it off.
constexpr std::int32_t last_ply_to_keep_book = 20;

move::move_vector candidates;

}  // namespace

const move::move_vector& find_book_candidates() {
  candidates.clear();
  const std::size_t end = std::min(root_moves_end, global_moves.size());
  for (std::size_t i = 0; i < end; ++i) {
    const move m = global_moves[i];
    make_move(m);
    if (in_book()) candidates.push_back(m);
    unmake_move(m);
  }
  return candidates;
}

bool choose_book_move(book_random& rng, std::size_t& index) {
  if (!use_book.load(std::memory_order_relaxed)) return false;
  find_book_candidates();
  if (!candidates.empty()) {
    index = root_move_index(candidates[rng.next() % candidates.size()]);
    return true;
  }
  if (position::ply > last_ply_to_keep_book) use_book.store(false, std::memory_order_relaxed);
  return false;
}

}  // namespace marlek
