#pragma once
// Where the running search stands, published for other threads: the GUI
// may ask while the engine analyses. The root search writes it once per
// root move, so keeping it costs nothing measurable; readers get each
// field as it was at the last root move.
#include <atomic>
#include <cstdint>

#include "board/move.h"

namespace marlek {

struct search_progress {
  std::atomic<int> depth{0};              // plies of the iteration now running
  std::atomic<int> moves_searched{0};     // root moves searched in it so far
  std::atomic<int> moves_total{0};        // legal root moves
  std::atomic<std::uint64_t> nodes{0};    // node count at the last root move
  std::atomic<std::uint32_t> current{0};  // the root move being searched, as raw bits
};

inline search_progress progress;

// Records that the root search starts on `m`, its `searched`-th move.
void note_root_move(move m, int searched);

// The root move being searched.
move current_root_move();

}  // namespace marlek
