// The root node. Unlike the nodes below it, it has no extension, no
// material shortcut, no null move and no repetition test; it searches the
// legal moves of the root move list.
#include <algorithm>

#include "board/attacks.h"
#include "board/position.h"
#include "search/alpha_beta.h"
#include "search/history.h"
#include "search/iterate.h"
#include "search/progress.h"
#include "search/quiesce.h"
#include "search/root_moves.h"
#include "search/scores.h"
#include "search/search_state.h"
#include "search/stop_poll.h"
#include "search/table_use.h"

namespace marlek {

namespace {

// The root always searches its stored move first; building the root list
// gives it one, and one that is not a root move (or one left out) is
// replaced the same way.
void ensure_root_move(hash_entry& root) {
  if (root.has_move() && root_move_index(root.hash_move) != no_root_move &&
      !is_excluded_root_move(root.hash_move))
    return;
  std::size_t first = 0;
  while (first + 1 < root_moves_end && is_excluded_root_move(global_moves[first])) ++first;
  root.hash_move = global_moves[first];
  root.set_has_move(1);
}

// A move that reached beta: it earns history and the bound is stored.
int cut_off(hash_entry& root, move m, int score, int depth) {
  reward_history(m);
  store_result(root, score, depth, lower_bound);
  return score;
}

}  // namespace

int search_root(int depth, int alpha, int beta) {
  // 1. Nothing is in search when the root is probed, so it gets an entry.
  hash_entry* root = hash_table::probe();
  if (!root || root_moves_end == 0) return alpha;

  // 2. Cut-off rule.
  if (auto stored = table_cutoff(*root, depth, alpha, beta)) return *stored;

  // 3. Child routine.
  const search_fn child = depth > 0 ? alpha_beta : quiesce;

  // 4. The stored best move first, with the full window.
  ensure_root_move(*root);
  path_mark on_path(root);
  const move first = root->hash_move;
  int searched = 0;
  note_root_move(first, searched++);
  ++node_count;
  make_move(first);
  alpha = std::max(alpha, -child(depth - one_ply, -beta, -alpha));
  unmake_move(first);

  // 5. Stop request.
  if (engine_has_message()) return alpha;

  // 6. Cut-off by the stored move.
  if (alpha >= beta) return cut_off(*root, first, alpha, depth);

  // 7. The other root moves with a zero window; one that beats alpha becomes
  //    the best move and is searched again with the open window. The skip
  //    compares with the best move as it stands when a move is reached.
  for (std::size_t i = 0; i < root_moves_end; ++i) {
    const move m = global_moves[i];
    if (m == root->hash_move || is_excluded_root_move(m)) continue;
    note_root_move(m, searched++);
    ++node_count;
    make_move(m);
    const int v = -child(depth - one_ply, -alpha - 1, -alpha);
    unmake_move(m);
    if (engine_has_message()) return alpha;
    if (v <= alpha) continue;
    root->hash_move = m;
    if (v >= beta) return cut_off(*root, m, v, depth);
    make_move(m);
    alpha = -child(depth - one_ply, -beta, -v);
    unmake_move(m);
    if (engine_has_message()) return alpha;
    if (alpha >= beta) return cut_off(*root, m, alpha, depth);
  }

  // 8. End of the moves.
  return finish_node(root, alpha, depth, in_check(position::side_to_move));
}

}  // namespace marlek
