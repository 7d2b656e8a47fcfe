#pragma once
// The quiescence search: below the nominal depth, only captures are
// searched (and every reply while in check), until the position is quiet.
#include <optional>

#include "board/move.h"

namespace marlek {

// Searches the global position; returns a score from the side to move's
// point of view, never below the alpha it was given (fail-hard). Depth
// counts down in hundredths of a ply to a floor, where the static score
// stands. It neither uses the transposition table nor detects mate,
// stalemate or repetition.
int quiesce(int depth, int alpha, int beta);

// What quiesce(depth, alpha, beta) would return right after the legal move
// `m` is made, when that is known without making it; otherwise nothing.
// The reply side then stands pat on material alone: its king is known safe
// (m is legal), the evaluation stops at material, and either that fails
// high or the depth is at the floor. Most children of quiet moves at the
// last ply end so, and finding it here saves making and unmaking them.
std::optional<int> quiesce_after(move m, int depth, int alpha, int beta);

}  // namespace marlek
