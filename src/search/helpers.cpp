#include "search/helpers.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "base/fixed_vector.h"
#include "board/fen.h"
#include "board/position.h"
#include "search/alpha_beta.h"
#include "search/depth.h"
#include "search/history.h"
#include "search/quiesce.h"
#include "search/root_moves.h"
#include "search/scores.h"
#include "search/search_state.h"
#include "search/stop_poll.h"

namespace marlek {

namespace {

constexpr int most_threads = 256;
// The same window as the engine's own deepening, around the last result.
constexpr int aspiration_window = 25;
// Helpers start at one ply or at two, in turn, so that they spread over the
// depths instead of following the engine's own search step by step.
constexpr int depth_spread = 2;
// Far more plies than any line of search reaches.
constexpr std::size_t longest_helper_path = 1024;

thread_local fixed_vector<hash_key, longest_helper_path> helper_path;
// The node count this helper publishes, read by the engine thread.
thread_local std::atomic<std::uint64_t>* published_nodes = nullptr;

struct helper_pool {
  std::mutex lock;
  std::condition_variable wake;  // a search to join, or the end
  std::condition_variable idle;  // a helper has finished its search
  std::vector<std::thread> threads;
  std::vector<std::unique_ptr<std::atomic<std::uint64_t>>> nodes;
  helper_root root;
  int max_depth = 0;
  std::uint64_t search_number = 0;
  int searching = 0;
  bool ending = false;
  std::atomic<bool> stop{false};

  // At the end of the process a search may still be running: it stops.
  ~helper_pool() {
    stop.store(true, std::memory_order_relaxed);
    end_all();
  }

  void end_all() {
    {
      std::lock_guard<std::mutex> hold(lock);
      ending = true;
    }
    wake.notify_all();
    for (std::thread& t : threads) t.join();
    threads.clear();
    nodes.clear();
    ending = false;
  }
};

helper_pool& pool() {
  static helper_pool the_pool;
  return the_pool;
}

// The nodes of this helper's earlier searches of the position, which its
// published count starts from.
thread_local std::uint64_t earlier_nodes = 0;

bool helper_should_stop() {
  published_nodes->store(earlier_nodes + node_count, std::memory_order_relaxed);
  return pool().stop.load(std::memory_order_relaxed);
}

// The helper's root: its best move so far goes first.
int helper_root_search(int depth, int alpha, int beta) {
  const search_fn child = depth > 0 ? alpha_beta : quiesce;
  int best = -infinity_score;
  for (std::size_t i = 0; i < root_moves_end; ++i) {
    const move m = global_moves[i];
    ++node_count;
    make_move(m);
    int v = -child(depth - one_ply, i == 0 ? -beta : -alpha - 1, -alpha);
    if (i > 0 && v > alpha && v < beta) v = -child(depth - one_ply, -beta, -alpha);
    unmake_move(m);
    if (engine_has_message()) return best;
    if (v > best) {
      best = v;
      std::rotate(global_moves.begin(), global_moves.begin() + static_cast<std::ptrdiff_t>(i),
                  global_moves.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
    alpha = std::max(alpha, v);
    if (alpha >= beta) break;
  }
  return best;
}

void deepen_as_helper(int index, int max_depth) {
  int score = 0;
  for (int depth = one_ply * (1 + index % depth_spread); depth <= max_depth; depth += one_ply) {
    const int lo = score - aspiration_window, hi = score + aspiration_window;
    score = helper_root_search(depth, lo, hi);
    if (engine_has_message()) return;
    if (score <= lo)
      score = helper_root_search(depth, -infinity_score, lo);
    else if (score >= hi)
      score = helper_root_search(depth, hi, infinity_score);
    if (engine_has_message() || score == mated_score || score == -mated_score) return;
  }
}

// One search of a helper: its own copy of the root, its own history.
void search_as_helper(int index, const helper_root& root, int max_depth) {
  if (!set_up_board(root.fen.c_str(), nullptr, root.chess960)) return;
  for (move m : root.moves) make_move(m);
  list_root_moves();
  const auto kept = std::remove_if(global_moves.begin(), global_moves.end(), [&](move m) {
    return std::find(root.left_out.begin(), root.left_out.end(), m) != root.left_out.end();
  });
  global_moves.resize(static_cast<std::size_t>(kept - global_moves.begin()));
  root_moves_end = global_moves.size();
  if (root_moves_end == 0) return;
  clear_history();
  earlier_nodes = published_nodes->load(std::memory_order_relaxed);
  node_count = 0;
  null_move_allowed = true;
  helper_path.clear();
  deepen_as_helper(index, max_depth);
}

// `joined`: the search the pool was at when this helper was made, which
// it must not join: it has ended, and its helpers are counted.
void run_helper(int index, std::atomic<std::uint64_t>* nodes, std::uint64_t joined) {
  searching_as_helper = true;
  published_nodes = nodes;
  set_stop_poll(helper_should_stop);
  helper_pool& p = pool();
  for (;;) {
    helper_root root;
    int max_depth = 0;
    {
      std::unique_lock<std::mutex> hold(p.lock);
      p.wake.wait(hold, [&] { return p.ending || p.search_number != joined; });
      if (p.ending) break;
      joined = p.search_number;
      root = p.root;
      max_depth = p.max_depth;
    }
    search_as_helper(index, root, max_depth);
    {
      std::lock_guard<std::mutex> hold(p.lock);
      --p.searching;
    }
    p.idle.notify_all();
  }
  // The pieces of this thread's board die with it.
  clear_board();
}

}  // namespace

void set_search_threads(int threads) {
  helper_pool& p = pool();
  const std::size_t helpers = static_cast<std::size_t>(std::clamp(threads, 1, most_threads) - 1);
  if (helpers == p.threads.size()) return;
  p.end_all();
  for (std::size_t i = 0; i < helpers; ++i) {
    p.nodes.push_back(std::make_unique<std::atomic<std::uint64_t>>(0));
    p.threads.emplace_back(run_helper, static_cast<int>(i), p.nodes.back().get(), p.search_number);
  }
}

int search_threads() { return static_cast<int>(pool().threads.size()) + 1; }

void start_helpers(const helper_root& root, int max_depth_hundredths) {
  helper_pool& p = pool();
  if (p.threads.empty()) return;
  {
    std::lock_guard<std::mutex> hold(p.lock);
    p.root = root;
    p.max_depth = max_depth_hundredths;
    p.searching = static_cast<int>(p.threads.size());
    ++p.search_number;
  }
  p.wake.notify_all();
}

void stop_helpers() {
  helper_pool& p = pool();
  if (p.threads.empty()) return;
  p.stop.store(true, std::memory_order_relaxed);
  std::unique_lock<std::mutex> hold(p.lock);
  p.idle.wait(hold, [&] { return p.searching == 0; });
  p.stop.store(false, std::memory_order_relaxed);
}

void reset_helper_nodes() {
  for (auto& count : pool().nodes) count->store(0, std::memory_order_relaxed);
}

std::uint64_t helper_nodes() {
  std::uint64_t total = 0;
  for (const auto& count : pool().nodes) total += count->load(std::memory_order_relaxed);
  return total;
}

bool on_helper_path() {
  const hash_key key = position::position_key;
  return std::find(helper_path.begin(), helper_path.end(), key) != helper_path.end();
}

void enter_helper_path() { helper_path.push_back(position::position_key); }

void leave_helper_path() { helper_path.pop_back(); }

}  // namespace marlek
