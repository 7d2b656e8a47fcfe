#pragma once
// The list of legal moves of the game position, at the bottom of
// global_moves up to root_moves_end (search_state.h).
#include <cstddef>
#include <vector>

#include "board/move.h"

namespace marlek {

// What root_move_index answers for a move that is no legal root move.
inline constexpr std::size_t no_root_move = static_cast<std::size_t>(-1);

// Rebuilds the root move list for the game position: legal captures first,
// best gain first, then legal quiet moves by history. Gives the root entry
// of the transposition table a hash move that is a legal root move.
void build_root_moves();
// The list alone, the table untouched (a helper thread's root).
void list_root_moves();

// Where `m` first appears in the root move list, or no_root_move.
std::size_t root_move_index(move m);

// Starts the count of nodes and time afresh and makes the root own an entry.
void new_search();

// Whether the root search leaves `m` out (excluded_root_moves).
bool is_excluded_root_move(move m);
// How many root moves the root search may choose from.
std::size_t allowed_root_move_count();
// The root moves it leaves out, in the order they were left out.
std::vector<move> left_out_root_moves();
// Leaves out every root move but those of `allowed` (all of them legal
// root moves, at least one), or none when `allowed` is empty. What the root
// entry has stored was found among other moves, so its bound is dropped;
// its move becomes the first allowed one unless it is allowed itself, and
// best_move follows it.
void restrict_root_moves(const std::vector<move>& allowed);
// Leaves out exactly the root moves of `left_out` (each a legal root move;
// it may hold every one of them, which leaves nothing to search), as
// xboard's exclude and include ask. A change drops the root entry's bound
// as restrict_root_moves does; the same set again changes nothing.
void leave_out_root_moves(const std::vector<move>& left_out);

// Root moves left out for a while beside the GUI's choice: the moves of the
// lines already found while the root is searched for several lines. They
// are taken back in when the object ends, however the search ended.
class root_moves_set_aside {
 public:
  root_moves_set_aside();
  ~root_moves_set_aside();
  root_moves_set_aside(const root_moves_set_aside&) = delete;
  root_moves_set_aside& operator=(const root_moves_set_aside&) = delete;

  void add(move m);

 private:
  std::size_t kept_;  // the GUI's choice, at the front of the list
};

}  // namespace marlek
