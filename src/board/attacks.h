#pragma once
// Attack tests of a whole colour, the check test built on them, and the
// legality rule. The generators produce moves that may leave the mover's own
// king attacked; a move is legal when, once made, the king of the side that
// made it is not attacked.
#include <cstdint>

#include "board/move.h"

namespace marlek {

// Whether any piece of colour by_colour attacks s. A table of square
// differences rules out nearly every piece without a virtual call.
bool attacked(int by_colour, square s);
// How many (piece, square) pairs there are in which a piece of colour
// by_colour attacks one of `targets`, a list of squares ended by a negative
// entry (the king-safety term counts them round a king).
int attack_pairs(int by_colour, const std::int8_t* targets);
// The reference for both: how many pieces of the colour say, through their
// own `attacks`, that they attack s. Kept for the tests that hold the fast
// answers to it.
int attacker_count_asking_each(int by_colour, square s);

// Whether the king of colour c is attacked; a side without a king is not.
bool in_check(int c);

// Whether `m`, generated for the current position, is legal: makes it, tests
// the mover's king, and unmakes it again.
bool is_legal(move m);

}  // namespace marlek
