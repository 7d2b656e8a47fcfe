// Iterative deepening from the root, and the thinking lines it reports.
//
// Several lines. A GUI may ask to see the best K root moves, each with its
// own line. Line 1 is the search the engine always makes: the aspiration
// window around the last depth's best score, opened once on the side that
// fails. Each further line searches the root again at the same depth with
// the moves of the lines before it set aside, and so finds the best of the
// moves left. Those searches get the full window: a later line has no score
// of its own from the last depth (the move that held line 2 then may hold
// line 1 or line 3 now), and a window missed would cost a second search.
//
// So a later line never fails low, and its score is exact for its depth:
// the value of the best move left, searched after the root entry's bound is
// dropped, so that line 1's stored result cannot answer for the other
// moves. Only line 1 can come out as a bound, as it always could: when its
// re-search fails in turn, its score is the edge of that window. A later
// line may then score above it; and since the table below the root keeps
// results of other windows and depths, a later line can now and then come
// out above an earlier one anyway. The lines of a depth are therefore put
// in order of score (an equal score keeps its place), and the best of them
// gives the move to play and the root entry's result.
//
// Every line's search leaves its own result in the root entry and its own
// variation in the table below. Each variation is read as soon as its line
// is found, and when the depth is done the root entry gets back what the
// best line's search stored, so that the next depth starts from it as it
// would from one line. A depth counts only once all its lines are found: an
// interrupted one reports nothing, and the root entry and best_move stay as
// the last whole depth left them. The deepening ends on a mate score only
// when every line has one.
#include "search/iterate.h"

#include <algorithm>
#include <cstdint>
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
// variation, in the words of the front end. `line` numbers it among several
// root lines; 0 when the search gives one.
void post_line(int depth, int score, const std::vector<move>& pv, int line = 0) {
  search_report report;
  report.depth = depth / one_ply;
  report.line = line;
  report.score = score;
  report.elapsed_ms = elapsed_millis();
  report.nodes = node_count + helper_nodes();
  for (move m : pv) report.pv.push_back(to_text(m));
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

bool is_mate(int score) { return score == mated_score || score == -mated_score; }

// What a root search leaves in the root's entry.
struct root_result {
  move hash_move;
  std::int32_t score;
  std::int32_t depth;
  std::uint8_t bound;
  std::uint8_t has_move;
};

root_result result_of(const hash_entry& root) {
  return {root.hash_move, root.score, root.depth, root.bound(), root.has_move()};
}

void put_back(hash_entry& root, const root_result& result) {
  root.hash_move = result.hash_move;
  root.score = result.score;
  root.depth = result.depth;
  root.set_bound(result.bound);
  root.set_has_move(result.has_move);
}

// One of the root lines of a depth.
struct root_line {
  int score;
  std::vector<move> pv;  // from the line's root move on
  root_result stored;    // the root entry as the line's search left it
};

// Lines 2 and on of one depth, line 1 being in `lines`: each searches the
// root with the full window, the moves of the lines before it set aside.
// The moves of the last depth's lines (`last_moves`) are tried first. False
// when a stop request cut a search short.
bool search_further_lines(hash_entry& root, std::vector<root_line>& lines, std::size_t wanted,
                          const std::vector<move>& last_moves) {
  root_moves_set_aside found;
  while (lines.size() < wanted) {
    found.add(lines.back().stored.hash_move);
    root.set_bound(no_bound);
    const auto next = std::find_if(last_moves.begin(), last_moves.end(),
                                   [](move m) { return !is_excluded_root_move(m); });
    if (next != last_moves.end()) root.hash_move = *next;
    const int score = search_root(iteration_depth, -infinity_score, infinity_score);
    if (engine_has_message()) return false;
    lines.push_back({score, principal_variation(), result_of(root)});
  }
  return true;
}

// One depth of several lines, best first in `lines`, `score` becoming the
// best line's; the root entry keeps the best line's result. Stopped part of
// the way, the root entry is put back as it was and false returned.
bool search_lines(hash_entry& root, int& score, std::vector<root_line>& lines, std::size_t wanted,
                  std::vector<move>& last_moves) {
  const root_result before = result_of(root);
  if (!search_iteration(search_root, score)) {
    put_back(root, before);
    return false;
  }
  lines.push_back({score, principal_variation(), result_of(root)});
  if (!search_further_lines(root, lines, wanted, last_moves)) {
    put_back(root, before);
    return false;
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const root_line& a, const root_line& b) { return a.score > b.score; });
  put_back(root, lines.front().stored);
  score = lines.front().score;
  last_moves.clear();
  for (const root_line& line : lines) last_moves.push_back(line.stored.hash_move);
  return true;
}

// The lines of a completed depth, kept for the engine's choice of move.
void keep_lines(const std::vector<root_line>& lines) {
  completed_lines.clear();
  for (const root_line& line : lines)
    completed_lines.push_back({line.stored.hash_move, line.score});
}

// Writes the best `shown` lines of a depth; one alone as a plain search would.
void post_lines(const std::vector<root_line>& lines, int shown) {
  if (shown == 1) {
    post_line(iteration_depth, lines.front().score, lines.front().pv);
    return;
  }
  const std::size_t count = std::min(lines.size(), static_cast<std::size_t>(shown));
  for (std::size_t k = 0; k < count; ++k)
    post_line(iteration_depth, lines[k].score, lines[k].pv, static_cast<int>(k) + 1);
}

}  // namespace

void iterative_deepening(int max_depth_hundredths, search_fn search, thinking_output output,
                         opening_line opening, int root_lines, int shown_lines) {
  completed_lines.clear();
  if (root_moves_end == 0) return;  // mate or stalemate: nothing to search
  const bool at_root = search == search_root;
  const std::size_t allowed = at_root ? allowed_root_move_count() : root_moves_end;
  if (allowed == 0) return;  // every root move left out: nothing to search either
  hash_entry* root = hash_table::probe();
  if (!root) return;
  const auto posting = [output] {
    return output == thinking_output::as_posting && post_thinking.load(std::memory_order_relaxed);
  };
  int score = root->score;
  completed_depth = root->bound() != no_bound ? root->depth : -1;
  if (posting() && opening == opening_line::written)
    post_line(root->depth, score, principal_variation());

  const bool several = at_root && root_lines > 1;
  const std::size_t wanted = several ? std::min(static_cast<std::size_t>(root_lines), allowed) : 1;
  std::vector<move> last_moves;  // of the last depth's lines, best first
  // A position searched before resumes at the depth it reached then.
  progress.moves_total.store(static_cast<int>(root_moves_end), std::memory_order_relaxed);
  for (iteration_depth = root->depth; iteration_depth <= max_depth_hundredths;
       iteration_depth += one_ply) {
    progress.depth.store(iteration_depth / one_ply, std::memory_order_relaxed);
    std::vector<root_line> lines;
    const bool whole = several ? search_lines(*root, score, lines, wanted, last_moves)
                               : search_iteration(search, score);
    if (!whole) return;
    completed_depth = iteration_depth;
    if (several) keep_lines(lines);
    if (at_root && root->has_move()) follow_root_move(*root);
    if (posting() && (iteration_depth > silent_depth || reporter().shows_every_depth())) {
      if (several)
        post_lines(lines, shown_lines);
      else
        post_line(iteration_depth, score, principal_variation());
    }
    // Mates carry no distance: a deeper search cannot better them.
    const bool all_mates = several
                               ? std::all_of(lines.begin(), lines.end(),
                                             [](const root_line& l) { return is_mate(l.score); })
                               : is_mate(score);
    if (all_mates) return;
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
    if (!entry || entry->in_search() || !entry->has_move() || !fits_position(entry->hash_move))
      break;
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
