// The moves of the game: played after a check against the legal moves,
// recorded, counted per position for repetitions, and taken back.
//
// The draw by repetition is claimed from the game's own list of positions
// since the last set-up, compared whole (placement, side to move, castling
// rights, en-passant capture), so that a claim is never false and never
// late. The transposition table keeps a count per position key besides: the
// search scores a position that has occurred in the game as a draw, and may
// hand its slot to another position, which is harmless there. The fifty-move
// draw is claimed after 101 half-moves without a capture or a pawn move,
// one more than the rule's hundred.
#include <algorithm>

#include "base/front_end.h"
#include "board/attacks.h"
#include "game/root.h"
#include "search/hash_table.h"
#include "search/history.h"
#include "search/root_moves.h"
#include "search/search_state.h"

namespace marlek {

namespace {

// Occurrences of a position that make the game a draw.
constexpr std::ptrdiff_t repetitions_for_draw = 3;
// Half-moves since the last capture or pawn move beyond which the draw is
// claimed: the rule's hundred plus one, so the claim never comes early.
constexpr int fifty_move_limit = 101;

// The side to move has no legal move: mate when its king is attacked.
play_result no_moves_left() {
  if (in_check(position::side_to_move)) {
    reporter().game_over(position::side_to_move == black ? game_end::white_mates
                                                         : game_end::black_mates);
    return play_result::checkmate;
  }
  reporter().game_over(game_end::stalemate);
  return play_result::stalemate;
}

// How often the position just reached has occurred since the last set-up.
std::ptrdiff_t occurrences_of_last_position() {
  const auto& seen = root::game_positions;
  return seen.empty() ? 0 : std::count(seen.begin(), seen.end(), seen.back());
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
  game_positions.push_back(snapshot_of_position());
  // The search's count; no entry (its slot is held by a position on a
  // search path) means no count this time.
  if (hash_entry* entry = hash_table::probe()) entry->set_repetitions(entry->repetitions() + 1u);

  build_root_moves();
  if (root_moves_end == 0) return no_moves_left();
  if (occurrences_of_last_position() >= repetitions_for_draw) {
    reporter().game_over(game_end::repetition);
    return play_result::draw_by_repetition;
  }
  if (fifty_moves_passed()) {
    reporter().game_over(game_end::fifty_moves);
    return play_result::draw_by_fifty_moves;
  }
  new_search();
  age_history();
  return play_result::game_goes_on;
}

bool root::take_back() {
  if (game_record.empty()) return false;
  // Only the position's own count, and only one that is there: a search may
  // have given the slot to another position, or claimed it afresh.
  if (hash_entry* entry = hash_table::find(position_key); entry && entry->repetitions() > 0)
    entry->set_repetitions(entry->repetitions() - 1u);
  const move m = game_record.back();
  unmake_move(m);
  game_record.pop_back();
  game_positions.pop_back();
  build_root_moves();
  new_search();
  return true;
}

bool root::take_back_pair() {
  if (game_record.size() < 2) return false;
  take_back();
  take_back();
  return true;
}

}  // namespace marlek
