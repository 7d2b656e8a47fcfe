#pragma once
// Scores are centipawns from the point of view of the side to move. Mates
// and draws have fixed values, the same at every distance from the root.
namespace marlek {

// Bound of a full window.
inline constexpr int infinity_score = 10004;
// A node whose side to move can capture the enemy king: the move that led
// there was illegal. Its negation lies below every score a legal move gets.
inline constexpr int king_capture_score = infinity_score - 2;  // 10002
// The side to move is checkmated.
inline constexpr int mated_score = 2 - king_capture_score;  // -10000
// The side to move is stalemated. Its negation, +39, scores a position that
// already occurred in the game: the side to move there is taken to avoid a
// draw it is offered by repeating.
inline constexpr int draw_score = -39;

}  // namespace marlek
