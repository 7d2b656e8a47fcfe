// Attack tests and the legality rule, asked of every piece in turn: each
// piece knows its own way of attacking (move_gen.cpp).
#include "board/attacks.h"

#include "board/position.h"

namespace marlek {

bool attacked(int by_colour, square s) {
  for (apiece* p : position::pieces[by_colour])
    if (p->attacks(s)) return true;
  return false;
}

bool in_check(int c) {
  const apiece* k = position::kings[c];
  return k && attacked(1 - c, k->sq);
}

bool is_legal(move m) {
  make_move(m);
  const bool legal = !in_check(1 - position::side_to_move);
  unmake_move(m);
  return legal;
}

}  // namespace marlek
