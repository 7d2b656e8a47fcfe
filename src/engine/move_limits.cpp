#include "engine/move_limits.h"

#include <algorithm>

namespace marlek {

void search_limits::reset() {
  move_time_ms.store(0, std::memory_order_relaxed);
  depth_cap.store(0, std::memory_order_relaxed);
  node_rate.store(0, std::memory_order_relaxed);
}

int capped_depth(int own_plies) {
  const int cap = move_limits.depth_cap.load(std::memory_order_relaxed);
  return cap > 0 ? std::min(own_plies, cap) : own_plies;
}

}  // namespace marlek
