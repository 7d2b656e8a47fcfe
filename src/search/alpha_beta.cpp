#include "search/alpha_beta.h"

#include <algorithm>
#include <optional>

#include "board/attacks.h"
#include "board/move_list.h"
#include "board/position.h"
#include "search/depth.h"
#include "search/helpers.h"
#include "search/history.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search/scores.h"
#include "search/search_state.h"
#include "search/shortcuts.h"
#include "search/stop_poll.h"
#include "search/table_use.h"

namespace marlek {

namespace {

constexpr int check_extension = 75;
constexpr int capture_extension = 40;
// Near the leaves a side far ahead in material is not searched further:
// at depth 0 or below when it is more than 200 above beta, within the last
// ply when more than 500 above.
constexpr int leaf_margin = 200;
constexpr int frontier_margin = 500;
// Between one and two plies, a side more than 900 below alpha is searched
// one ply shallower.
constexpr int razor_margin = 900;
constexpr int razor_depth = 2 * one_ply;
constexpr int razor_reduction = -one_ply;
// The null move is searched three plies shallower; its verification by the
// hash move four.
constexpr int null_move_reduction = 3 * one_ply;
constexpr int verification_reduction = 4 * one_ply;

using result = std::optional<int>;

// What one call knows about its node.
struct node {
  int depth;  // as received, without extension
  int alpha;
  int beta;
  int extension = 0;
  bool checked = false;  // the side to move is in check
  hash_entry* entry = nullptr;
  // The entry's move, read once and checked: another search thread may
  // write the entry while this node is searched.
  move stored_move{};
  bool has_stored_move = false;
  search_fn child = quiesce;

  int child_depth(int reduction) const { return depth + extension - reduction; }
  bool has_hash_move() const { return entry && entry->has_move(); }
  void store(int score, std::uint8_t bound) const {
    if (entry) store_result(*entry, score, depth, bound);
  }
};

void set_extensions(node& n) {
  n.checked = in_check(position::side_to_move);
  if (n.checked) n.extension += check_extension;
  if (position::top_capture_ply() == position::ply - 1) n.extension += capture_extension;
}

// Material shortcuts from the running sums, before the table is probed.
// May shorten the node's depth instead (razoring).
result material_shortcut(node& n) {
  if (n.checked || n.extension != 0) return std::nullopt;
  const int stm = position::side_to_move;
  const int balance = position::material[stm] - position::material[1 - stm];
  if (n.depth <= 0 && balance > n.beta + leaf_margin) return balance;
  if (n.depth > 0 && n.depth < one_ply && balance > n.beta + frontier_margin) return balance;
  if (n.depth > one_ply && n.depth <= razor_depth && balance + razor_margin < n.alpha)
    n.extension = razor_reduction;
  return std::nullopt;
}

// What the table says before anything is searched. A stored move that this
// position cannot make is forgotten.
result table_verdict(node& n) {
  hash_entry& entry = *n.entry;
  if (entry.repetitions() != 0) return -draw_score;  // the position occurred in the game
  // Met again on the current path: resolved without going round the cycle.
  if (searching_as_helper ? on_helper_path() : entry.in_search())
    return quiesce(n.depth, n.alpha, n.beta);
  if (result stored = table_cutoff(entry, n.depth, n.alpha, n.beta)) return stored;
  if (entry.has_move()) {
    const move m = entry.hash_move;
    if (fits_position(m)) {
      n.stored_move = m;
      n.has_stored_move = true;
    } else {
      entry.set_has_move(false);
    }
  }
  return std::nullopt;
}

// Passing and still failing high proves the node good enough, unless the
// hash move, searched shallower, fails to confirm it.
result try_null_move(node& n) {
  if (!null_move_allowed || n.depth <= 0) return std::nullopt;
  null_move_allowed = false;
  ++node_count;
  make_null();
  int v = -n.child(n.child_depth(null_move_reduction), -n.beta, -n.alpha);
  unmake_null();
  null_move_allowed = true;
  if (engine_has_message()) return v;
  if (v < n.beta) return std::nullopt;
  if (n.has_stored_move) {
    const move m = n.stored_move;
    ++node_count;
    v = score_move(m, n.child, n.child_depth(verification_reduction), n.alpha, n.beta);
    if (engine_has_message()) return v;
  }
  if (v >= n.beta) return v;
  return std::nullopt;
}

result search_hash_move(node& n) {
  if (!n.has_stored_move) return std::nullopt;
  const move m = n.stored_move;
  ++node_count;
  n.alpha = std::max(n.alpha, score_move(m, n.child, n.child_depth(one_ply), n.alpha, n.beta));
  if (engine_has_message()) return n.alpha;
  if (n.alpha >= n.beta) {
    reward_history(m);
    n.store(n.alpha, lower_bound);
    return n.alpha;
  }
  return std::nullopt;
}

// Move m scored v above alpha: it becomes the best move; below beta it is
// searched again with the open window (at the depth without extension).
template <bool quiet>
result raise_alpha(node& n, move m, int v) {
  if (n.entry) {
    n.entry->hash_move = m;
    n.entry->set_has_move(true);
  }
  if (v >= n.beta) {
    if constexpr (quiet) reward_history(m);  // first searches of quiet moves only
    n.store(v, lower_bound);
    return v;
  }
  n.alpha = score_move(m, n.child, n.depth - one_ply, v, n.beta);
  if (engine_has_message()) return n.alpha;
  if (n.alpha >= n.beta) {
    n.store(n.alpha, lower_bound);
    return n.alpha;
  }
  return std::nullopt;
}

// Captures or quiet moves, best first. Once the node has a best move, the
// others only have to prove they are no better: a zero window. Quiet moves
// that can only fail low are counted, not searched (shortcuts.h).
template <bool quiet>
result search_moves(node& n) {
  move_list list;
  if constexpr (quiet)
    generate_quiet();
  else
    generate_captures();
  move_picker<quiet> picker(list);
  for (std::size_t i = list.start(); i < list.end(); ++i) {
    const int beta = n.has_hash_move() ? n.alpha + 1 : n.beta;
    if (quiet_moves_left_fail_low(picker, n.child, n.alpha, beta)) {
      if (count_as_searched(i, list.end())) return n.alpha;
      return std::nullopt;
    }
    ++node_count;
    const move m = picker.next(i);
    const int v = score_move(m, n.child, n.child_depth(one_ply), n.alpha, beta);
    if (engine_has_message()) return n.alpha;
    if (v > n.alpha)
      if (result done = raise_alpha<quiet>(n, m, v)) return done;
  }
  return std::nullopt;
}

}  // namespace

int alpha_beta(int depth, int alpha, int beta) {
  // 1. Illegal position: the move that led here left its own king attacked.
  if (mover_in_check()) return king_capture_score;

  // 2. Extensions: in check, and after a capture.
  node n{depth, alpha, beta};
  set_extensions(n);

  // 3. Material shortcuts and razoring.
  if (result early = material_shortcut(n)) return *early;

  // 4. Transposition table: game repetition, path repetition, cut-off; then
  //    the node holds its place on the path until it returns.
  n.entry = hash_table::probe();
  if (n.entry) {
    if (result early = table_verdict(n)) return *early;
  } else if (searching_as_helper && on_helper_path()) {
    return quiesce(n.depth, n.alpha, n.beta);
  }
  path_mark on_path(n.entry);

  // 5. Child routine: the whole node uses one, chosen by its own depth.
  n.child = depth + n.extension > 0 ? alpha_beta : quiesce;

  // 6. Null move.
  if (result early = try_null_move(n)) return *early;

  // 7. Hash move.
  if (result early = search_hash_move(n)) return *early;

  // 8. Captures.
  if (result early = search_moves<false>(n)) return *early;

  // 9. Quiet moves.
  if (result early = search_moves<true>(n)) return *early;

  // 10. End of the moves.
  return finish_node(n.entry, n.alpha, n.depth, n.checked);
}

}  // namespace marlek
