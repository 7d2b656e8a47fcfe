#pragma once
// Search depth counts hundredths of a ply, so that extensions and
// reductions can be fractions of a move.
namespace marlek {

inline constexpr int one_ply = 100;

// The common shape of search_root, alpha_beta and quiesce: depth, alpha,
// beta in; a score from the side to move's point of view out.
using search_fn = int (*)(int depth, int alpha, int beta);

}  // namespace marlek
