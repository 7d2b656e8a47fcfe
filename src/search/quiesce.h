#pragma once
// The quiescence search: below the nominal depth, only captures are
// searched (and every reply while in check), until the position is quiet.
#include "board/move.h"

namespace marlek {

// Searches the global position; returns a score from the side to move's
// point of view, never below the alpha it was given (fail-hard). Depth
// counts down in hundredths of a ply to a floor, where the static score
// stands. It neither uses the transposition table nor detects mate,
// stalemate or repetition.
int quiesce(int depth, int alpha, int beta);

// Whether what quiesce(depth, alpha, beta) would return right after the
// legal move `m` is made is known without making it, and then that value.
// The reply side then stands pat on material alone: its king is known safe
// (m is legal), the evaluation stops at material, and either that fails
// high or the depth is at the floor. Most children of quiet moves at the
// last ply end so, and finding it here saves making and unmaking them.
// (The answer comes back as a flag and a value rather than an optional:
// the optional's two fields, stored apart and read back as one word, made
// the caller wait.)
bool quiesce_after(move m, int depth, int alpha, int beta, int& value);

}  // namespace marlek
