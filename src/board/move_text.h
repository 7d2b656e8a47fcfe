#pragma once
// Move text as each front end spells castling. The engine's own coordinate
// text (move(const char*) and to_text(move), move.h) writes a castling as
// the move it is (castling.h): e1g1 in standard chess, the king onto its
// own rook in a Chess960 game. That is already what UCI's Chess960 mode
// reads and writes, for any move of a game set up as Chess960, with no
// need of the board. The readers and writers here spell castling as asked
// in the current position, whichever way the game encodes it; like all
// that reads the position, they run on the thread that owns the game.
#include <string>

#include "board/move.h"

namespace marlek {

enum class castling_text {
  coordinate,        // the move's own squares: exactly move(text) and to_text(m)
  king_takes_rook,   // UCI with UCI_Chess960: e1h1, or g1h1 with king and rook side by side
  castling_letters,  // xboard's variant fischerandom: O-O and O-O-O (0-0 and 0-0-0 read too)
};

// Writes `m`, a move of the side to move, with a castling spelled in `style`;
// every other move in coordinates.
std::string to_text(move m, castling_text style);

// Reads `text` as a move of the side to move. Castling spelled in `style`
// reads as that castling when it is legal here and otherwise as a move that
// matches no legal move; so does a castling spelled in coordinates when
// `style` spells it otherwise. Other text reads as coordinates, and which
// moves are legal is the caller's to check as before.
move read_move(const char* text, castling_text style);

}  // namespace marlek
