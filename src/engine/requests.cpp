#include "engine/requests.h"

#include <algorithm>
#include <vector>

#include "base/clock.h"
#include "base/flags.h"
#include "base/front_end.h"
#include "board/castling.h"
#include "board/position.h"
#include "book/book_choice.h"
#include "engine/engine.h"
#include "engine/settings.h"
#include "search/progress.h"
#include "search/root_moves.h"

namespace marlek {

namespace {
// The book is for the standard game.
bool book_is_on() { return own_book_enabled() && !chess960_game; }
}  // namespace

void answer_hint(const engine& eng) {
  if (eng.has_expected_reply && eng.expected_at == position::position_key &&
      root_move_index(eng.expected_reply) != no_root_move) {
    reporter().hint(to_text(eng.expected_reply, game_castling_text()));
    return;
  }
  if (!book_is_on()) return;
  const move::move_vector& candidates = find_book_candidates();
  if (!candidates.empty()) reporter().hint(to_text(candidates.front()));
}

// The engine draws among the candidates evenly: each has the same chance.
void list_book_moves() {
  std::vector<book_share> shares;
  if (book_is_on()) {
    const move::move_vector& candidates = find_book_candidates();
    const int percent = candidates.empty() ? 0 : static_cast<int>(100 / candidates.size());
    for (move m : candidates) shares.push_back({to_text(m), percent});
  }
  reporter().book_moves(shares);
}

void report_analysis_status() {
  if (!analysing.load(std::memory_order_relaxed)) return;
  search_status now;
  now.elapsed_ms = elapsed_millis();
  now.nodes = progress.nodes.load(std::memory_order_relaxed);
  now.depth = progress.depth.load(std::memory_order_relaxed);
  now.moves_total = progress.moves_total.load(std::memory_order_relaxed);
  now.moves_left =
      std::max(0, now.moves_total - progress.moves_searched.load(std::memory_order_relaxed));
  if (now.moves_total > 0) now.current_move = to_text(current_root_move());
  reporter().status(now);
}

}  // namespace marlek
