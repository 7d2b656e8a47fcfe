// Setting a game up: the board from FEN text, then everything the engine
// keeps about the game and its searches starts afresh for the new position.
#include <string>

#include "base/front_end.h"
#include "board/fen.h"
#include "game/root.h"
#include "search/hash_table.h"
#include "search/history.h"
#include "search/root_moves.h"
#include "search/search_state.h"

namespace marlek {

void root::clear_board() {
  marlek::clear_board();
  root_moves_end = 0;
  game_record.clear();
  game_positions.clear();
  set_up_text.clear();
  set_up_as_chess960 = false;
}

bool root::SetBoard(const char* text, std::string* refusal, bool chess960) {
  const bool accepted = set_up_board(text, refusal, chess960);
  game_record.clear();
  game_positions.clear();
  set_up_text = accepted ? text : "";
  set_up_as_chess960 = accepted && chess960;
  if (!accepted) {
    root_moves_end = 0;  // no move is accepted until the next good set-up
    return false;
  }
  // A new game: the time to give the table the size the player asked for.
  if (!hash_table::resize())
    reporter().complaint("Error: not enough memory for the hash table asked for; it keeps " +
                         std::to_string(hash_table::size()) + " entries.");
  hash_table::clear();
  clear_history();
  // The set-up position is the game's first occurrence of itself.
  if (hash_entry* entry = hash_table::probe()) entry->set_repetitions(1);
  game_positions.push_back(snapshot_of_position());
  build_root_moves();
  return true;
}

void root::clear_hash() {
  hash_table::wipe();
  if (game_positions.empty()) return;  // no position set up: nothing to count
  // Count the game's positions again, from the set-up position on.
  for (auto it = game_record.rbegin(); it != game_record.rend(); ++it) unmake_move(*it);
  if (hash_entry* entry = hash_table::probe()) entry->set_repetitions(1);
  for (move m : game_record) {
    make_move(m);
    if (hash_entry* entry = hash_table::probe()) entry->set_repetitions(entry->repetitions() + 1u);
  }
  // The position is the same: a choice of root moves the GUI made stays,
  // also one that leaves every move out.
  const std::vector<move> left_out = left_out_root_moves();
  build_root_moves();
  leave_out_root_moves(left_out);
}

}  // namespace marlek
