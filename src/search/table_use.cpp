#include "search/table_use.h"

#include <algorithm>

#include "board/move_list.h"
#include "board/position.h"

namespace marlek {

bool fits_position(move m) {
  if (!on_board(m.from)) return false;
  const apiece* p = position::board[m.from];
  if (!p || p->colour != position::side_to_move) return false;
  move_list own_moves;
  p->gen_captures();
  p->gen_quiet();
  const auto first = global_moves.begin() + static_cast<std::ptrdiff_t>(own_moves.start());
  return std::find(first, global_moves.end(), m) != global_moves.end();
}

}  // namespace marlek
