#include "board/perft.h"

#include "board/position.h"
#include "search/ordering.h"

namespace marlek {

std::uint64_t perft(int depth) {
  if (depth <= 0) return 1;
  move_list frame;
  generate_captures();
  generate_quiet();
  std::uint64_t count = 0;
  for (std::size_t i = frame.start(); i < frame.end(); ++i) {
    const move m = global_moves[i];
    make_move(m);
    if (!in_check(1 - position::side_to_move)) count += perft(depth - 1);
    unmake_move(m);
  }
  return count;
}

}  // namespace marlek
