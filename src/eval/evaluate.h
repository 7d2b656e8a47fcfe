#pragma once
// Static evaluation of the global position.
#include <algorithm>
#include <optional>

#include "board/move.h"

namespace marlek {

// How far outside the caller's window a partial score must lie for the
// evaluation to return it as it stands.
inline constexpr int lazy_margin = 25;

// Scores the position in centipawns from the side to move's point of view.
// The terms are added cheapest first, and at three points the evaluation
// stops and returns what it has when that lies more than 25 centipawns
// outside the caller's window (alpha, beta): the search cannot tell such a
// score from the exact one. Only the smaller and larger bound matter.
int evaluate(int alpha, int beta);

// The first of those points, on its own: with `side` to move and White's
// material minus Black's equal to `balance`, the score evaluate returns
// from material alone, or nothing when the evaluation would go on.
inline std::optional<int> material_only_score(int side, int balance, int alpha, int beta) {
  const int sign = side == white ? 1 : -1;
  const int lo = std::min(sign * alpha, sign * beta);
  const int hi = std::max(sign * alpha, sign * beta);
  if (balance < lo - lazy_margin || balance > hi + lazy_margin) return sign * balance;
  return std::nullopt;
}

}  // namespace marlek
