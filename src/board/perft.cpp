#include "board/perft.h"

#include "board/attacks.h"
#include "board/move_list.h"
#include "board/position.h"

namespace marlek {

std::uint64_t perft(int depth) {
  if (depth <= 0) return 1;
  move_list frame;
  generate_captures();
  generate_quiet();
  std::uint64_t count = 0;
  for (std::size_t i = frame.start(); i < frame.end(); ++i) {
    const move m = global_moves[i];
    if (!is_legal(m)) continue;
    if (depth == 1) {
      ++count;  // a legal move at the last ply is one leaf: no need to make it again
      continue;
    }
    make_move(m);
    count += perft(depth - 1);
    unmake_move(m);
  }
  return count;
}

}  // namespace marlek
