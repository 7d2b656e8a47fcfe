// The answers of moves the search does not make; shortcuts.h says why each
// equals the answer of making the move.
#include "search/shortcuts.h"

#include <algorithm>
#include <optional>

#include "board/pieces.h"
#include "eval/evaluate.h"
#include "search/search_state.h"
#include "search/stop_poll.h"

namespace marlek {

std::int32_t material_balance_after(move m) {
  const apiece* mover = position::board[m.from];
  const std::int32_t for_mover = mover->colour == white ? 1 : -1;
  std::int32_t balance = position::material[white] - position::material[black];
  const bool pawn = mover->letter == 'P' || mover->letter == 'p';
  const apiece* victim = position::board[m.to];
  if (victim && victim->colour == mover->colour) victim = nullptr;  // Chess960 castling
  if (!victim && pawn) victim = position::en_passant_victim(m, mover->colour);
  if (victim) balance += for_mover * victim->value;
  if (pawn && (rank_of(m.to) == 0 || rank_of(m.to) == 7))
    balance += for_mover * (promotion_value(m.kind) - pawn_value);
  return balance;
}

namespace {
// Whether the reply to a move, searched with the window (alpha, beta) when
// the material stands at `balance`, ends at its stand-pat on the material
// alone; `value` is then alpha raised to it.
bool reply_stands_pat(int balance, int alpha, int beta, int& value) {
  const std::optional<int> stand_pat =
      material_only_score(1 - position::side_to_move, balance, alpha, beta);
  if (!stand_pat) return false;
  value = std::max(alpha, *stand_pat);
  return true;
}
}  // namespace

bool quiesce_after(move m, int depth, int alpha, int beta, int& value) {
  return reply_stands_pat(material_balance_after(m), alpha, beta, value) &&
         (value >= beta || depth <= quiesce_floor);
}

bool quiet_moves_fail_low(int alpha, int beta) {
  const int balance = position::material[white] - position::material[black];
  int reply = 0;
  return alpha >= -king_capture_score && reply_stands_pat(balance, -beta, -alpha, reply) &&
         reply >= -alpha;
}

bool count_as_searched(std::size_t from, std::size_t end) {
  for (std::size_t i = from; i < end; ++i) {
    ++node_count;
    if (engine_has_message()) return true;
  }
  return false;
}

}  // namespace marlek
