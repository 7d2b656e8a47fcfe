#pragma once
// Set-ups that change part of the current position rather than replace it
// with a FEN text: the board edited square by square (the protocol's
// `edit`), and the other side put on move (`white`, `black`). Each either
// sets the new position up as a new game or, when it cannot be played,
// names the reason and leaves the game as it was.
#include <array>
#include <cstdint>

namespace marlek {

// Squares by 8 * rank + file, each a piece letter (upper case White) or '.'.
using placement = std::array<char, 64>;

// Why `board` cannot be played with `side` to move, or null when it can:
// each side needs one king, pawns cannot stand on the first or last rank,
// and the side not to move cannot be in check.
const char* unplayable_reason(const placement& board, std::int32_t side);

// The current board with `changes` made (by square: 0 keeps the square,
// '.' empties it, a letter puts that piece there). The side to move stays;
// a king and a rook on their home squares keep that castling right; no
// en-passant capture is open; the fifty-move count starts at zero.
const char* set_up_edited(const placement& changes);

// Puts `side` on move in the current position, its pieces and castling
// rights kept; nothing changes when that side is on move already. The
// position becomes a new game: no en-passant capture, no earlier moves.
const char* put_side_on_move(std::int32_t side);

}  // namespace marlek
