#pragma once
// What a UCI `go` asks of the engine thread, and the commands that end or
// change a running search. Every `go` gets exactly one "bestmove" line; a
// search with `infinite` or `ponder` gives it only after `stop` or
// `ponderhit`. Main thread only.
#include "uci/uci_parser.h"

namespace marlek {

// Puts the engine thread into UCI ways: its output in UCI words, the start
// position set up, its own pondering off (a UCI GUI asks for it with
// `go ponder`).
void start_uci_engine();

// Answers `isready`: at once during a search, otherwise once the engine
// thread has taken in every command before it.
void answer_when_ready();

// Remembers whose clock a `go` reads: the side to move after `position`.
void note_side_to_move(const uci_position& position);

// ucinewgame: the tables start empty.
void start_new_game();

void start_search(const uci_go& go);
// A GUI waits for "bestmove" before it sends a new position or search; one
// that does not still gets it: the running search is stopped first.
void finish_search();
void stop_search();
void ponder_hit();

}  // namespace marlek
