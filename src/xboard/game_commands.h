#pragma once
// The commands that change the game or the engine's mode. The game belongs
// to the engine thread, so each of these only builds a message from the
// command line and posts it there; they never wait for the engine.
namespace marlek {

void move_now_command();   // ?
void analyze_command();    // analyze
void exit_command();       // exit: leaving analysis is force mode
void force_command();      // force
void go_command();         // go
void new_command();        // new
void ping_command();       // ping N
void playother_command();  // playother
void remove_command();     // remove: take back the last two moves
void setboard_command();   // setboard FEN
void undo_command();       // undo
void usermove_command();   // usermove MOVE

}  // namespace marlek
