// The list of legal moves of the game position, rebuilt after every move of
// the game, every take-back and every set-up (never during a search).
#include <algorithm>

#include "base/clock.h"
#include "board/attacks.h"
#include "search/hash_table.h"
#include "search/helpers.h"
#include "search/ordering.h"
#include "search/root_moves.h"
#include "search/search_state.h"

namespace marlek {

namespace {
// Drops the moves of [from, end) that leave the mover's king attacked, by
// moving the last move into the gap; the stack is truncated to the rest.
void keep_legal(std::size_t from) {
  std::size_t end = global_moves.size();
  for (std::size_t i = from; i < end;) {
    if (!is_legal(global_moves[i]))
      global_moves[i] = global_moves[--end];
    else
      ++i;
  }
  global_moves.resize(end);
}

// The root moves to search have changed: what the root entry has stored was
// found among other moves, so its bound goes (the game's count of the
// position and its place on the path stay). Its move becomes the first of
// `preferred`, or else the first root move still searched, unless it may
// still be searched itself; best_move follows it.
void forget_root_result(const std::vector<move>& preferred) {
  hash_entry* root = hash_table::probe();
  if (!root || root_moves_end == 0) return;
  root->set_bound(no_bound);
  root->depth = 0;
  if (!root->has_move() || is_excluded_root_move(root->hash_move) ||
      root_move_index(root->hash_move) == no_root_move) {
    std::size_t first = 0;
    while (first + 1 < root_moves_end && is_excluded_root_move(global_moves[first])) ++first;
    root->hash_move = preferred.empty() ? global_moves[first] : preferred.front();
    root->set_has_move(1);
  }
  best_move = root_move_index(root->hash_move);
}
}  // namespace

void list_root_moves() {
  excluded_root_moves.clear();  // a choice of moves belongs to the old root
  global_moves.clear();
  generate_captures();
  keep_legal(0);
  std::sort(global_moves.begin(), global_moves.end(), by_capture_gain);
  const std::size_t quiet_start = global_moves.size();
  generate_quiet();
  keep_legal(quiet_start);
  std::sort(global_moves.begin() + static_cast<std::ptrdiff_t>(quiet_start), global_moves.end(),
            by_history);
  root_moves_end = global_moves.size();
}

void build_root_moves() {
  list_root_moves();

  hash_entry* root = hash_table::probe();
  if (root && root_moves_end != 0) {
    const std::size_t stored = root->has_move() ? root_move_index(root->hash_move) : no_root_move;
    if (stored != no_root_move) {
      best_move = stored;
    } else {
      // A stored move that is no legal root move is useless here: start the
      // entry afresh with the first root move.
      if (root->has_move()) root->reset();
      best_move = 0;
      root->hash_move = global_moves[0];
      root->set_has_move(1);
    }
  }
  new_search();
}

std::size_t root_move_index(move m) {
  const auto end = global_moves.begin() +
                   static_cast<std::ptrdiff_t>(std::min(root_moves_end, global_moves.size()));
  const auto found = std::find(global_moves.begin(), end, m);
  return found == end ? no_root_move : static_cast<std::size_t>(found - global_moves.begin());
}

void new_search() {
  node_count = 0;
  reset_helper_nodes();
  start_watch();
  hash_table::probe();
}

bool is_excluded_root_move(move m) {
  return !excluded_root_moves.empty() &&
         std::find(excluded_root_moves.begin(), excluded_root_moves.end(), m) !=
             excluded_root_moves.end();
}

std::size_t allowed_root_move_count() {
  std::size_t count = 0;
  for (std::size_t i = 0; i < root_moves_end; ++i)
    if (!is_excluded_root_move(global_moves[i])) ++count;
  return count;
}

std::vector<move> left_out_root_moves() { return excluded_root_moves; }

void restrict_root_moves(const std::vector<move>& allowed) {
  if (allowed.empty() && excluded_root_moves.empty()) return;
  excluded_root_moves.clear();
  if (!allowed.empty())
    for (std::size_t i = 0; i < root_moves_end; ++i)
      if (std::find(allowed.begin(), allowed.end(), global_moves[i]) == allowed.end())
        excluded_root_moves.push_back(global_moves[i]);
  forget_root_result(allowed);
}

void leave_out_root_moves(const std::vector<move>& left_out) {
  if (left_out.size() == excluded_root_moves.size() &&
      std::is_permutation(left_out.begin(), left_out.end(), excluded_root_moves.begin()))
    return;
  excluded_root_moves = left_out;
  forget_root_result({});
}

root_moves_set_aside::root_moves_set_aside() : kept_(excluded_root_moves.size()) {}

root_moves_set_aside::~root_moves_set_aside() { excluded_root_moves.resize(kept_); }

void root_moves_set_aside::add(move m) { excluded_root_moves.push_back(m); }

}  // namespace marlek
