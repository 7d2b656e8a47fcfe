#pragma once
// The quiescence search: below the nominal depth, only captures are
// searched (and every reply while in check), until the position is quiet.
#include <cstddef>

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

// Whether every quiet move but a promotion now scores no better than
// `alpha` for the side to move, when its reply is quiesce and the reply's
// window is (-beta, -alpha): a legal one is answered without being made
// (quiesce_after), its reply standing pat on the material, which such a
// move leaves as it is, and failing high; an illegal one scores
// -king_capture_score, no better either. Such moves change nothing but the
// node count: a node whose remaining moves are all such need not pick them
// (count_as_searched).
bool quiet_moves_fail_low(int alpha, int beta);

// Counts the moves [from, end) as searched without picking or making them:
// a node each, and after each the poll for a message that the search loops
// make after every move. True when a message stopped the count.
bool count_as_searched(std::size_t from, std::size_t end);

}  // namespace marlek
