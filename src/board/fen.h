#pragma once
// Setting the board up from FEN text, and clearing it.
#include <string>

namespace marlek {

// Replaces the position by the one a FEN text describes, with an empty move
// stack. A bad text gets one line on standard output, or, when `refusal` is
// given, that line goes there instead; either way it leaves an empty board.
// Returns whether the text was accepted.
//
// With `chess960`, or when the castling field names a rook's file
// (Shredder-FEN HAha, or X-FEN's letter for an inner rook), the game is
// Chess960 (castling.h): K, Q, k and q then name the outermost rook on
// that side of the king, wherever king and rook stand. Otherwise they are
// standard chess's rights, held only with king and rook at home.
bool set_up_board(const char* text, std::string* refusal = nullptr, bool chess960 = false);

// Deletes every piece and empties the board, the position's stacks and the
// move stack.
void clear_board();

}  // namespace marlek
