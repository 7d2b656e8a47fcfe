#include "search/quiesce.h"

#include <algorithm>
#include <optional>

#include "board/attacks.h"
#include "board/move_list.h"
#include "board/position.h"
#include "eval/evaluate.h"
#include "search/depth.h"
#include "search/history.h"
#include "search/move_score.h"
#include "search/ordering.h"
#include "search/scores.h"
#include "search/search_state.h"
#include "search/stop_poll.h"

namespace marlek {

namespace {

// Depth at which only the static score counts: a search started at depth 0
// looks ten captures deep.
constexpr int quiesce_floor = -1000;

// Searches the moves of `list` in turn with the given ordering. True when
// the node is done: a cut-off (a quiet move that caused it earns history)
// or a stop request.
// Once no quiet move left can do more than count a node, they are counted
// without being picked (quiet_moves_fail_low).
template <bool quiet>
bool search_replies(const move_list& list, int depth, int& alpha, int beta) {
  move_picker<quiet> picker(list);
  for (std::size_t i = list.start(); i < list.end(); ++i) {
    if (quiet && picker.no_promotion_left() && quiet_moves_fail_low(alpha, beta))
      return count_as_searched(i, list.end());
    const move m = picker.next(i);
    ++node_count;
    alpha = std::max(alpha, score_move(m, quiesce, depth - one_ply, alpha, beta));
    if (engine_has_message()) return true;
    if (alpha >= beta) {
      if constexpr (quiet) reward_history(m);
      return true;
    }
  }
  return false;
}

}  // namespace

namespace {
// Whether the reply to a move, searched with the window (alpha, beta) when
// the material stands at `balance`, ends at its stand-pat on the material
// alone; `value` is then alpha raised to it.
bool reply_stands_pat(int balance, int alpha, int beta, int& value) {
  const std::optional<int> stand_pat =
      material_only_score(1 - position::side_to_move, balance, alpha, beta);
  if (!stand_pat) return false;
  value = std::max(alpha, *stand_pat);
  return true;
}
}  // namespace

bool quiesce_after(move m, int depth, int alpha, int beta, int& value) {
  return reply_stands_pat(material_balance_after(m), alpha, beta, value) &&
         (value >= beta || depth <= quiesce_floor);
}

bool quiet_moves_fail_low(int alpha, int beta) {
  const int balance = position::material[white] - position::material[black];
  int reply = 0;
  return alpha >= -king_capture_score && reply_stands_pat(balance, -beta, -alpha, reply) &&
         reply >= -alpha;
}

bool count_as_searched(std::size_t from, std::size_t end) {
  for (std::size_t i = from; i < end; ++i) {
    ++node_count;
    if (engine_has_message()) return true;
  }
  return false;
}

int quiesce(int depth, int alpha, int beta) {
  // The move that led here left its own king attacked.
  if (mover_in_check()) return king_capture_score;

  // Stand pat: the side to move may decline every capture. This holds even
  // in check, so a mated side scores its static value here.
  alpha = std::max(alpha, evaluate(alpha, beta));
  if (alpha >= beta || depth <= quiesce_floor) return alpha;

  move_list captures;
  generate_captures();
  if (search_replies<false>(captures, depth, alpha, beta)) return alpha;

  // In check, every reply is searched: a quiet move may be the only escape.
  move_list evasions;
  if (in_check(position::side_to_move)) {
    generate_quiet();
    if (search_replies<true>(evasions, depth, alpha, beta)) return alpha;
  }
  return alpha;
}

}  // namespace marlek
