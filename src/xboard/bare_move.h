#pragma once
// Moves sent without a command word. A GUI that has not asked for
// `usermove` (every GUI of protocol version 1, and any that rejects the
// feature) sends the opponent's move as a line by itself: e2e4, e7e8q.
#include <string_view>

namespace marlek {

// Whether `word` has the shape of a move in coordinate notation: a square,
// a square, and an optional promotion letter. No command word has it, so a
// command is never taken for a move.
bool is_coordinate_move(std::string_view word);

// Plays the line's first word as `usermove` plays its argument. Before the
// game has begun (see negotiation.h) the engine first starts a new game, as
// `new` does, so that it answers the move as Black.
void bare_move_command();

}  // namespace marlek
