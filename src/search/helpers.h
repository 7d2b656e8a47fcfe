#pragma once
// The search on more than one core: helper threads beside the engine's own
// search ("lazy" sharing). Each helper searches the same root position with
// its own iterative deepening, in a position, a move stack, a history and
// counters of its own (all of which are each thread's own, position.h and
// search_state.h), and shares only the transposition table with the others.
// What a helper finds reaches the engine's search through the table: the
// moves and bounds it stores order and cut the engine's search. The engine
// thread alone reports depths, decides when to stop and which move to play;
// every helper stops when it does.
//
// What helpers must not do to the table, and how they are kept from it:
//   - mark their path (in_search): the engine's search would take their
//     positions for repetitions of its own path. A helper keeps its path in
//     a stack of its own and looks repetitions up there.
//   - take an entry the game or the engine's path holds (a count of the
//     game's positions, an in_search mark): such an entry is passed over,
//     and the helper searches that node without the table.
//   - make a move read from an entry another thread may be writing without
//     checking it: every stored move is checked before it is made.
//
// One thread is the design's search: with no helpers nothing here runs.
#include <cstdint>
#include <string>
#include <vector>

#include "board/move.h"

namespace marlek {

// The root every helper sets up: the game's set-up and the moves made from
// it (the engine's own search may be a move further, when it ponders).
struct helper_root {
  std::string fen;
  bool chess960 = false;
  std::vector<move> moves;
  // The root moves the GUI had the search leave out.
  std::vector<move> left_out;
};

// Makes `threads` - 1 helpers ready (joining any beyond), each with what it
// keeps of its own, so that a search only wakes them. Engine thread only,
// while no search runs.
void set_search_threads(int threads);
int search_threads();

// Starts the helpers on `root`, to deepen up to `max_depth_hundredths`;
// stop_helpers() ends them and returns once all are idle. Engine thread.
void start_helpers(const helper_root& root, int max_depth_hundredths);
void stop_helpers();

// Nodes the helpers have searched since the count was last reset, as the
// engine's own count is when the position changes (a little behind: each
// publishes its count as it searches). Engine thread, while no search runs
// for the reset.
std::uint64_t helper_nodes();
void reset_helper_nodes();

// Whether the current position occurs on a helper's own path since its
// root (the helper's repetition test), and the path's bookkeeping: each
// node of a helper that a path mark covers. Helper threads only.
bool on_helper_path();
void enter_helper_path();
void leave_helper_path();

}  // namespace marlek
