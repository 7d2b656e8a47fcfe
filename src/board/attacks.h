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
// by_colour attacks one of `targets`, a list of distinct squares ended by a
// negative entry (the king-safety term counts them round a king).
int attack_pairs(int by_colour, const std::int8_t* targets);
// The reference for both: how many pieces of the colour say, through their
// own `attacks`, that they attack s. Kept for the tests that hold the fast
// answers to it.
int attacker_count_asking_each(int by_colour, square s);

// Whether the king of colour c is attacked; a side without a king is not.
// The answer for the side to move is remembered with the position.
bool in_check(int c);
// The same answer as in_check for the side that made the last move, mostly
// without a scan: when that side was not in check before the move and the
// mover was neither its king nor a pawn taking en passant, only the line
// through the square the mover left can have opened towards its king.
bool mover_in_check();
// Asks in_check for the side to move, so that the check test after each of
// its moves knows the answer from before the move (make_move calls it).
void settle_check_state();

// The check test before a move: whether making `m`, generated for the
// current position, would leave the mover's king attacked, which is what
// mover_in_check would answer once it is made. Found without making it,
// except for castling: after a move of another piece than the king only
// the line through the square it leaves can open, and a piece that gives
// check stops only when it is taken or blocked.
bool leaves_king_attacked(move m);

// Makes `m`, found legal by leaves_king_attacked, so that the check test
// after it answers at once.
void make_legal_move(move m);

// Whether `m`, generated for the current position, is legal. Leaves the
// position as making and unmaking `m` would.
bool is_legal(move m);

}  // namespace marlek
