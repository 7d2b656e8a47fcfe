#pragma once
// Attack tests of a whole colour: whether a square is attacked, how many
// pieces attack it, and the check test built on them.
#include "board/move.h"

namespace marlek {

// Whether any piece of colour by_colour attacks s. Looks outwards from s
// instead of asking every enemy piece.
bool attacked(int by_colour, square s);
// How many pieces of colour by_colour attack s (the king-safety term counts
// them). Same outward look, without stopping at the first.
int attacker_count(int by_colour, square s);
// The reference for both: asks every piece of the colour, in list order,
// whether its own `attacks` hits s. Kept for the tests that hold the fast
// answers to it.
int attacker_count_asking_each(int by_colour, square s);

// Whether the king of colour c is attacked; a side without a king is not.
bool in_check(int c);

}  // namespace marlek
