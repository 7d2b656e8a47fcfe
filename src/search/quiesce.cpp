#include "search/quiesce.h"

#include <algorithm>

#include "board/attacks.h"
#include "board/move_list.h"
#include "board/position.h"
#include "eval/evaluate.h"
#include "search/depth.h"
#include "search/history.h"
#include "search/ordering.h"
#include "search/scores.h"
#include "search/search_state.h"
#include "search/shortcuts.h"
#include "search/stop_poll.h"

namespace marlek {

namespace {

// Searches the moves of `list` in turn with the given ordering. True when
// the node is done: a cut-off (a quiet move that caused it earns history)
// or a stop request.
// Quiet moves that can only fail low are counted, not searched
// (shortcuts.h).
template <bool quiet>
bool search_replies(const move_list& list, int depth, int& alpha, int beta) {
  move_picker<quiet> picker(list);
  for (std::size_t i = list.start(); i < list.end(); ++i) {
    if (quiet_moves_left_fail_low(picker, quiesce, alpha, beta))
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
