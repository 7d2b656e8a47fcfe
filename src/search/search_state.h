#pragma once
// What the search keeps between its nodes and between its iterations. All
// of it belongs to the engine thread (the main thread while the book loads
// at start-up); no other thread reads or writes it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/fixed_vector.h"
#include "board/move.h"
#include "board/position.h"

namespace marlek {

// Moves made by the search since the last new_search, null moves included.
inline thread_local std::uint64_t node_count = 0;

// The root move list sits at the bottom of global_moves, [0, root_moves_end).
inline thread_local std::size_t root_moves_end = 0;
// Index of the move the engine would play, inside the root move list.
inline thread_local std::size_t best_move = 0;

// History table: how often a quiet move (by origin and destination square)
// caused a cut-off, halved after each game move so that old merit fades.
inline thread_local std::uint32_t history[120][120] = {};
// Counts the changes that reward_history, age_history and clear_history
// make to the table, so that a key taken from it can tell it is still good.
inline thread_local std::uint32_t history_version = 0;

// False while the subtree below a null move is searched: no second null
// move is tried anywhere in it.
inline thread_local bool null_move_allowed = true;

// Depth of the iteration now running, in hundredths of a ply.
inline thread_local int iteration_depth = 0;
// The deepest result the last iterative deepening has for its root, in
// hundredths of a ply: the last iteration it completed, or the result it
// found stored; below 0 when it has none yet.
inline thread_local int completed_depth = -1;

// Set on a helper thread of the search: it shares the transposition table
// with the engine thread's search but never marks its path in it, and
// never takes an entry the game or the engine's path holds.
inline thread_local bool searching_as_helper = false;

// Root moves the root search leaves out (the GUI asked for a choice of
// moves). Empty, as it nearly always is, the root searches every move.
inline thread_local fixed_vector<move, max_moves_in_position> excluded_root_moves;

// The lines of the last depth that a search of several root lines
// completed, best first: each line's first move and its score. Empty until
// such a search has completed a depth of its own.
struct root_line_result {
  move first;
  int score = 0;
};
inline thread_local fixed_vector<root_line_result, max_moves_in_position> completed_lines;

}  // namespace marlek
