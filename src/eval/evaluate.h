#pragma once
// Static evaluation of the global position.
namespace marlek {

// Scores the position in centipawns from the side to move's point of view.
// The terms are added cheapest first, and at three points the evaluation
// stops and returns what it has when that lies more than 25 centipawns
// outside the caller's window (alpha, beta): the search cannot tell such a
// score from the exact one. Only the smaller and larger bound matter.
int evaluate(int alpha, int beta);

}  // namespace marlek
