#pragma once
// Moves sent without a command word. A GUI that has not asked for
// `usermove` (every GUI of protocol version 1, and any that rejects the
// feature) sends the opponent's move as a line by itself: e2e4, e7e8q. A
// line is such a move when its word has the form of one (is_move_text); no
// command word has it, so a command is never taken for a move.
namespace marlek {

// Plays the line's first word as `usermove` plays its argument. Before the
// game has begun (see negotiation.h) the engine first starts a new game, as
// `new` does, so that it answers the move as Black.
void bare_move_command();

}  // namespace marlek
