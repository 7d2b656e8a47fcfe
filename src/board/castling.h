#pragma once
// Castling: where king and rook stand and where they go, and how a
// castling is written as a move.
//
// Each castling right belongs to one rook: the king side is the rook on the
// king's h-side, the queen side the one on its a-side. From whatever files
// they start, the king ends on the g- or c-file and the rook on the f- or
// d-file, so standard chess is the case of the king on e1 or e8 and the
// rooks in the corners. The four castlings (K, Q, k, q) are set up with the
// position: in standard chess they are always the fixed table below; in a
// Chess960 game they come from the FEN's castling field, and a right that
// field does not grant has no rook (a king of a side with no right has no
// square either), so that nothing bears on it.
//
// The encoding. A castling is a king move of kind 0. In standard chess it
// is the king's two-file step, e1g1, e1c1, e8g8, e8c8. That cannot serve in
// Chess960, where the king may move one file (f1g1 is then also its
// ordinary step) or none at all. There a castling is the king moving onto
// its own rook: e1h1, or g1h1 when they stand side by side, or f1g1 when
// the rook stands on g1 and the king on f1. No other move of any piece
// ends on a piece of its own colour, so none can read the same. A game uses
// one encoding for all its castlings, so a Chess960 game that starts from
// the standard position castles e1h1 as well. Either way, a king move is
// castling exactly when the king stands unmoved on its castling square,
// the right is held (which keeps king and rook unmoved on theirs), and the
// move names that castling's destination.
//
// The Chess960 encoding is also UCI's text for castling in that mode, so a
// Chess960 game reads and writes its moves in the engine's own coordinate
// text. What it costs: the move's destination is not where the king lands
// and may hold a piece of the mover's own, so what moves pieces finds the
// squares in this table, and what takes a move back or tests for check
// after it asks the position whether the side just castled.
//
// The table and the flag belong to the position and, like it, are set up
// and read by the thread that owns the game.
#include "board/keys.h"
#include "board/move.h"
#include "board/square_sets.h"

namespace marlek {

// The square of a castling that has no rook, or a side that has no right.
inline constexpr square no_square = -1;

struct castling {
  int right;  // index into castling_rights: K, Q, k, q
  int colour;
  square king_from, king_to, rook_from, rook_to;
  square move_to;            // the destination the castling move names
  square_set must_be_empty;  // every square crossed or reached, but king's and rook's own
};

// The squares from a to b, both included, along a rank; none for no_square.
constexpr square_set rank_span(square a, square b) {
  if (a == no_square || b == no_square) return 0;
  square_set span = 0;
  for (square s = a < b ? a : b; s <= (a < b ? b : a); ++s) span |= set_of(s);
  return span;
}

// One castling, in either encoding; move_to says which.
constexpr castling make_castling(int right, square king_from, square king_to, square rook_from,
                                 square rook_to, square move_to) {
  square_set crossed = rank_span(king_from, king_to) | rank_span(rook_from, rook_to);
  if (king_from != no_square) crossed &= ~set_of(king_from);
  if (rook_from != no_square) crossed &= ~set_of(rook_from);
  return {right, right / 2, king_from, king_to, rook_from, rook_to, move_to, crossed};
}

// Squares the standard castlings name.
inline constexpr square a1 = 0x00, b1 = 0x01, c1 = 0x02, d1 = 0x03, e1 = 0x04, f1 = 0x05, g1 = 0x06,
                        h1 = 0x07;
inline constexpr square a8 = 0x70, b8 = 0x71, c8 = 0x72, d8 = 0x73, e8 = 0x74, f8 = 0x75, g8 = 0x76,
                        h8 = 0x77;

// Standard chess, in the order of the rights (K, Q, k, q): the king goes two
// files from its home square towards a corner, and the rook from that
// corner to the square the king passed over.
inline constexpr castling standard_castlings[4] = {
    make_castling(castle_white_king, e1, g1, h1, f1, g1),
    make_castling(castle_white_queen, e1, c1, a1, d1, c1),
    make_castling(castle_black_king, e8, g8, h8, f8, g8),
    make_castling(castle_black_queen, e8, c8, a8, d8, c8)};
// As the rules of standard chess have it: f1 and g1 empty on the king side,
// b1, c1 and d1 on the queen side.
static_assert(standard_castlings[castle_white_king].must_be_empty == (set_of(f1) | set_of(g1)));
static_assert(standard_castlings[castle_white_queen].must_be_empty ==
              (set_of(b1) | set_of(c1) | set_of(d1)));

// The castlings of the game being played. The king generates, makes and
// unmakes them, a rook keeps its right, and set-up grants a right only with
// king and rook in place: all from this table.
inline thread_local castling castlings[4] = {standard_castlings[0], standard_castlings[1],
                                             standard_castlings[2], standard_castlings[3]};
// Whether the game is Chess960: its castlings use the king-onto-rook
// encoding, whatever squares they start from.
inline thread_local bool chess960_game = false;

// Sets the castlings for a new game: standard chess, or a Chess960 game with
// kings on `king_square` (by colour) and the rook of each right on
// `rook_square` (by right; no_square for a right not granted).
void set_up_castlings(bool chess960, const square king_square[2], const square rook_square[4]);

// The castling a king move from `from` to `to` names, or null.
const castling* castling_by_king(square from, square to);
// The side whose king castles from `s`, or -1 for any other square.
int castling_side_at(square s);
// The castling right an unmoved rook of colour c on `s` carries, or -1.
int rook_right(square s, int c);

}  // namespace marlek
