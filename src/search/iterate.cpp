#include "search/iterate.h"

#include <ostream>
#include <vector>

#include "base/clock.h"
#include "base/flags.h"
#include "base/front_end.h"
#include "board/attacks.h"
#include "board/position.h"
#include "search/helpers.h"
#include "search/progress.h"
#include "search/root_moves.h"
#include "search/scores.h"
#include "search/search_state.h"
#include "search/stop_poll.h"
#include "search/table_use.h"

namespace marlek {

namespace {

// Half-width of the window around the previous iteration's score.
constexpr int aspiration_window = 25;
// Iterations up to two plies finish at once; they print no line, unless
// the front end shows every depth.
constexpr int silent_depth = 2 * one_ply;

// One thinking line: depth in plies, score, time, nodes and the principal
// variation, in the words of the front end.
void post_line(int depth, int score) {
  search_report report;
  report.depth = depth / one_ply;
  report.score = score;
  report.elapsed_ms = elapsed_millis();
  report.nodes = node_count + helper_nodes();
  for (move m : principal_variation()) report.pv.push_back(to_text(m));
  reporter().thinking(report);
}

// Points best_move at the root's stored move; a move that is not in the
// root list leaves it where it was.
void follow_root_move(const hash_entry& root) {
  const std::size_t index = root_move_index(root.hash_move);
  if (index != no_root_move) best_move = index;
}

// One iteration: the aspiration window, re-searched once with the failing
// side opened. False when a stop request cut it short.
bool search_iteration(search_fn search, int& score) {
  const int lo = score - aspiration_window;
  const int hi = score + aspiration_window;
  score = search(iteration_depth, lo, hi);
  if (engine_has_message()) return false;
  if (score <= lo)
    score = search(iteration_depth, -infinity_score, lo);
  else if (score >= hi)
    score = search(iteration_depth, hi, infinity_score);
  return !engine_has_message();
}

}  // namespace

void iterative_deepening(int max_depth_hundredths, search_fn search, thinking_output output,
                         opening_line opening) {
  if (root_moves_end == 0) return;  // mate or stalemate: nothing to search
  const hash_entry* root = hash_table::probe();
  if (!root) return;
  const auto posting = [output] {
    return output == thinking_output::as_posting && post_thinking.load(std::memory_order_relaxed);
  };
  int score = root->score;
  completed_depth = root->bound() != no_bound ? root->depth : -1;
  if (posting() && opening == opening_line::written) post_line(root->depth, score);

  // A position searched before resumes at the depth it reached then.
  progress.moves_total.store(static_cast<int>(root_moves_end), std::memory_order_relaxed);
  for (iteration_depth = root->depth; iteration_depth <= max_depth_hundredths;
       iteration_depth += one_ply) {
    progress.depth.store(iteration_depth / one_ply, std::memory_order_relaxed);
    if (!search_iteration(search, score)) return;
    completed_depth = iteration_depth;
    if (search == search_root && root->has_move()) follow_root_move(*root);
    if (posting() && (iteration_depth > silent_depth || reporter().shows_every_depth()))
      post_line(iteration_depth, score);
    if (score == mated_score || score == -mated_score) return;
  }
}

std::vector<move> principal_variation() {
  // Each position of the walk is marked as on the path, so a stored line
  // that returns to one of them ends there instead of going round.
  struct step {
    hash_entry* entry;
    move made;
  };
  std::vector<step> walk;
  std::vector<move> line;
  for (;;) {
    hash_entry* entry = hash_table::probe();
    if (!entry || entry->in_search() || !entry->has_move() || !fits_position(entry->hash_move)) break;
    const move m = entry->hash_move;
    entry->set_in_search(1);
    make_move(m);
    walk.push_back({entry, m});
    if (mover_in_check()) break;  // illegal: made and taken back unwritten
    line.push_back(m);
  }
  for (auto it = walk.rbegin(); it != walk.rend(); ++it) {
    unmake_move(it->made);
    it->entry->set_in_search(0);
  }
  return line;
}

void print_pv(std::ostream& out) {
  for (move m : principal_variation()) out << m << ' ';
}

}  // namespace marlek
