// The moves of the game: played after a check against the legal moves,
// recorded, counted per position for repetitions, and taken back.
//
// Repetition counts live in the transposition table entry of each game
// position rather than in a list of their own: one probe finds them, at the
// price that a search may hand the slot to another position and lose the
// count. The fifty-move draw is claimed after 101 half-moves without a
// capture or a pawn move, one more than the rule's hundred.
#include <algorithm>

#include "base/output.h"
#include "board/attacks.h"
#include "game/root.h"
#include "search/hash_table.h"
#include "search/history.h"
#include "search/root_moves.h"
#include "search/search_state.h"

namespace marlek {

namespace {

// Occurrences of a position that make the game a draw.
constexpr unsigned repetitions_for_draw = 3;
// Half-moves since the last capture or pawn move beyond which the draw is
// claimed: the rule's hundred plus one, so the claim never comes early.
constexpr int fifty_move_limit = 101;

// The side to move has no legal move: mate when its king is attacked.
play_result no_moves_left() {
  if (in_check(position::side_to_move)) {
    output_line(position::side_to_move == black ? "1-0 {White mates}" : "0-1 {Black mates}");
    return play_result::checkmate;
  }
  output_line("1/2-1/2 {Stalemate}");
  return play_result::stalemate;
}

bool fifty_moves_passed() {
  const std::int32_t last = std::max(position::top_capture_ply(), position::top_pawn_ply());
  return position::ply - last > fifty_move_limit;
}

}  // namespace

play_result root::play_move(move m) {
  if (root_move_index(m) == no_root_move) return play_result::not_legal;
  make_move(m);
  game_record.push_back(m);

  // No entry (its slot is held by a position on a search path) means no
  // count this time. The count is read now: rebuilding the root list may
  // reset the entry when its stored move is no legal move here.
  unsigned occurrences = 0;
  if (hash_entry* entry = hash_table::probe()) occurrences = ++entry->repetitions;

  build_root_moves();
  if (root_moves_end == 0) return no_moves_left();
  if (occurrences >= repetitions_for_draw) {
    output_line("1/2-1/2 {Draw by repetition}");
    return play_result::draw_by_repetition;
  }
  if (fifty_moves_passed()) {
    output_line("1/2-1/2 {50 move rule}");
    return play_result::draw_by_fifty_moves;
  }
  new_search();
  age_history();
  return play_result::game_goes_on;
}

bool root::take_back() {
  if (game_record.empty()) return false;
  if (hash_entry* entry = hash_table::probe()) --entry->repetitions;
  const move m = game_record.back();
  unmake_move(m);
  game_record.pop_back();
  build_root_moves();
  new_search();
  return true;
}

}  // namespace marlek
