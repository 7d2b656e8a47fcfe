#pragma once
// The set-up of protocol version 1, for GUIs without `setboard`:
//
//   edit      opens the edit; the following lines are its words
//   #         clears the board
//   c         switches the colour of the pieces placed next (White first)
//   Pe4       places a piece of that colour (P N B R Q K) on a square
//   xe4       empties a square
//   .         closes the edit: the engine sets the board up
//
// The words are gathered here and reach the engine as one set-up when the
// edit closes, so the engine never holds a half-edited board. The engine
// keeps its side to move, gives castling to a king and rook on their home
// squares, and refuses a board that cannot be played, keeping its game.
namespace marlek {

void edit_command();

// While an edit is open, takes the current line as an edit word and
// returns true; `quit` is left to the command table. Returns false when no
// edit is open.
bool take_edit_line();

}  // namespace marlek
