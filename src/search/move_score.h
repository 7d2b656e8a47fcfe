#pragma once
// Searching one move of a node: make it, search the child, take it back.
#include "board/attacks.h"
#include "board/position.h"
#include "search/depth.h"
#include "search/scores.h"

namespace marlek {

// The score of move m for the side that makes it: the child searched at
// `depth` with the window (alpha, beta) of the side making it. A move that
// leaves the mover's king attacked is not made at all: its child would see
// the king attacked and answer king_capture_score at once, and that answer
// is known without it.
inline int score_move(move m, search_fn child, int depth, int alpha, int beta) {
  if (!make_if_legal(m)) return -king_capture_score;
  const int v = -child(depth, -beta, -alpha);
  unmake_move(m);
  return v;
}

}  // namespace marlek
