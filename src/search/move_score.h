#pragma once
// Searching one move of a node: make it, search the child, take it back.
#include "board/attacks.h"
#include "board/position.h"
#include "search/depth.h"
#include "search/quiesce.h"
#include "search/scores.h"

namespace marlek {

// The score of move m for the side that makes it: the child searched at
// `depth` with the window (alpha, beta) of the side making it. A move that
// leaves the mover's king attacked is not made at all: its child would see
// the king attacked and answer king_capture_score at once, and that answer
// is known without it. Nor is a move whose quiescence child would stand pat
// on material alone (quiesce_after). Either way the piece lists are left as
// making and unmaking the move would leave them.
inline int score_move(move m, search_fn child, int depth, int alpha, int beta) {
  if (leaves_king_attacked(m)) {
    reorder_as_if_made(m);
    return -king_capture_score;
  }
  if (int v; child == quiesce && quiesce_after(m, depth, -beta, -alpha, v)) {
    reorder_as_if_made(m);
    return -v;
  }
  make_legal_move(m);
  const int v = -child(depth, -beta, -alpha);
  unmake_move(m);
  return v;
}

}  // namespace marlek
