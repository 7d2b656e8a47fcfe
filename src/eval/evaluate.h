#pragma once
// Static evaluation of the global position.
#include <algorithm>
#include <optional>

#include "board/move.h"

namespace marlek {

// The caller's window (alpha, beta) for `side` to move, seen from White's
// point of view, as the evaluation sums its terms. A partial score more
// than 25 centipawns beyond it is returned as it stands.
struct lazy_window {
  static constexpr int margin = 25;
  int sign, lo, hi;
  lazy_window(int side, int alpha, int beta)
      : sign(side == white ? 1 : -1),
        lo(std::min(sign * alpha, sign * beta)),
        hi(std::max(sign * alpha, sign * beta)) {}
  bool far_outside(int score) const { return score < lo - margin || score > hi + margin; }
};

// Scores the position in centipawns from the side to move's point of view.
// The terms are added cheapest first, and at three points the evaluation
// stops and returns what it has when that lies more than 25 centipawns
// outside the caller's window (alpha, beta): the search cannot tell such a
// score from the exact one. Only the smaller and larger bound matter.
int evaluate(int alpha, int beta);

// The first of those points, on its own: with `side` to move and White's
// material minus Black's equal to `balance`, the score evaluate returns
// from material alone, or nothing when the evaluation would go on. The
// evaluation takes its first exit here, and the search relies on it to
// answer moves without making them (search/shortcuts.h): nothing may be
// added to the score before this exit.
inline std::optional<int> material_only_score(int side, int balance, int alpha, int beta) {
  const lazy_window bounds(side, alpha, beta);
  if (bounds.far_outside(balance)) return bounds.sign * balance;
  return std::nullopt;
}

}  // namespace marlek
