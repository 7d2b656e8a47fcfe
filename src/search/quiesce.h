#pragma once
// The quiescence search: below the nominal depth, only captures are
// searched (and every reply while in check), until the position is quiet.
namespace marlek {

// Searches the global position; returns a score from the side to move's
// point of view, never below the alpha it was given (fail-hard). Depth
// counts down in hundredths of a ply to a floor, where the static score
// stands. It neither uses the transposition table nor detects mate,
// stalemate or repetition.
int quiesce(int depth, int alpha, int beta);

// Depth at which only the static score counts: a search started at depth 0
// looks ten captures deep.
inline constexpr int quiesce_floor = -1000;

}  // namespace marlek
