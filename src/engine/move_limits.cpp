#include "engine/move_limits.h"

#include <algorithm>

#include "base/clock.h"

namespace marlek {

namespace {
// The GUI reads its clock when it has read the move: the move line, the
// pipe and a busy machine cost a few milliseconds, and a long move costs a
// little more, since the search unwinds from deeper.
constexpr std::int64_t margin_ms = 50;
constexpr std::int64_t margin_per_mille = 30;
constexpr std::int64_t largest_margin_ms = 500;
}  // namespace

void search_limits::reset() {
  move_time_ms.store(0, std::memory_order_relaxed);
  until_stopped.store(false, std::memory_order_relaxed);
  hold_move.store(false, std::memory_order_relaxed);
  depth_cap.store(0, std::memory_order_relaxed);
  node_cap.store(0, std::memory_order_relaxed);
  node_rate.store(0, std::memory_order_relaxed);
}

std::int64_t fixed_time_deadline(std::int64_t move_time_ms) {
  const std::int64_t margin =
      std::min(margin_ms + move_time_ms * margin_per_mille / 1000, largest_margin_ms);
  // A move shorter than the margin still gets half of its time.
  const std::int64_t usable = std::max(move_time_ms - margin, move_time_ms / 2);
  return clock_millis() + usable;
}

int capped_depth(int own_plies) {
  const int cap = move_limits.depth_cap.load(std::memory_order_relaxed);
  return cap > 0 ? std::min(own_plies, cap) : own_plies;
}

}  // namespace marlek
