#pragma once
// The main search below the root: negamax alpha-beta with fractional depth,
// check and capture extensions, material pruning and razoring near the
// leaves, a null move verified by the hash move, the transposition table,
// and zero-window searches after the first best move.
namespace marlek {

// Searches the global position to `depth` (hundredths of a ply) within the
// window alpha < beta; returns a score from the side to move's point of
// view. The position is the same on return as on entry.
int alpha_beta(int depth, int alpha, int beta);

}  // namespace marlek
