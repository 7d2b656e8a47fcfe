// Setting a game up: the board from FEN text, then everything the engine
// keeps about the game and its searches starts afresh for the new position.
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
}

bool root::SetBoard(const char* text) {
  const bool accepted = set_up_board(text);
  game_record.clear();
  game_positions.clear();
  set_up_text = accepted ? text : "";
  if (!accepted) {
    root_moves_end = 0;  // no move is accepted until the next good set-up
    return false;
  }
  hash_table::clear();
  clear_history();
  // The set-up position is the game's first occurrence of itself.
  if (hash_entry* entry = hash_table::probe()) entry->repetitions = 1;
  game_positions.push_back(snapshot_of_position());
  build_root_moves();
  return true;
}

}  // namespace marlek
