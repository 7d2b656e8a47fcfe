#include "search/progress.h"

#include <bit>

#include "search/search_state.h"

namespace marlek {

static_assert(sizeof(move) == sizeof(std::uint32_t));

void note_root_move(move m, int searched) {
  progress.current.store(std::bit_cast<std::uint32_t>(m), std::memory_order_relaxed);
  progress.moves_searched.store(searched, std::memory_order_relaxed);
  progress.nodes.store(node_count, std::memory_order_relaxed);
}

move current_root_move() {
  return std::bit_cast<move>(progress.current.load(std::memory_order_relaxed));
}

}  // namespace marlek
