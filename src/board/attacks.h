#pragma once
// Attack tests and the legality rule. The generators produce moves that may
// leave the mover's own king attacked; a move is legal when, once made, the
// king of the side that made it is not attacked.
#include "board/move.h"

namespace marlek {

// Whether a piece of colour `by_colour` attacks square s.
bool attacked(int by_colour, square s);
// Whether the king of colour c is attacked; a side without a king is not.
bool in_check(int c);

// Whether `m`, generated for the current position, is legal: makes it, tests
// the mover's king, and unmakes it again.
bool is_legal(move m);

}  // namespace marlek
