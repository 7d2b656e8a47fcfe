#pragma once
// Setting the board up from FEN text, and clearing it.
#include <string>

namespace marlek {

// Replaces the position by the one a FEN text describes, with an empty move
// stack. A bad text gets one line on standard output, or, when `refusal` is
// given, that line goes there instead; either way it leaves an empty board.
// Returns whether the text was accepted.
bool set_up_board(const char* text, std::string* refusal = nullptr);

// Deletes every piece and empties the board, the position's stacks and the
// move stack.
void clear_board();

}  // namespace marlek
