#pragma once
// Playing below full strength, at the level a GUI sets (UCI_LimitStrength
// and UCI_Elo, offered to both protocols).
//
// A weaker player is above all one who sees less, and who now and then
// plays a move that looks nearly as good as the best but is not. The engine
// imitates both, and nothing else: its search, evaluation and clock stay
// what they are at full strength.
//   - It sees less: the search of a move stops after a number of nodes that
//     falls, level by level, from what a strong club player's move gets down
//     to a glance at the position. It always completes its first ply first,
//     so every move it plays has been looked at, and the clock still limits
//     it as at full strength, so it never loses on time.
//   - It errs: the root is searched for a few lines, and the move is drawn
//     from their first moves, each with a weight that falls exponentially
//     with its loss against the best line. The scale of that fall (the
//     temperature, in centipawns) grows as the level falls: near full
//     strength only a move as good as the best, give or take a few
//     centipawns, is ever chosen instead; at the lowest level a move a pawn
//     worse is still chosen now and then, and a piece is seldom given away.
// The draw is seeded from the position and the level, so the same level in
// the same position chooses the same move, and games repeat.
//
// Neither weakening applies when the GUI's level is off: then the search is
// the engine's own, node for node.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace marlek {

// The levels a GUI may set, in Elo on the scale the README gives.
inline constexpr int lowest_level_elo = 1000;
inline constexpr int full_strength_elo = 1700;

struct strength_plan {
  // The search of a move stops after this many nodes, once it has
  // completed a ply.
  std::uint64_t nodes = 0;
  // Root lines searched: the moves the choice is made among.
  int lines = 1;
  // Centipawns: a move that loses this much against the best line is
  // chosen e (2.72) times less often than the best.
  int temperature_cp = 0;
};

// The plan of the level `elo` (clamped to the levels offered).
strength_plan plan_for_level(int elo);

// The level set now, or none at full strength. Any thread.
std::optional<int> strength_level();

// The line to play among root lines whose scores are `scores`, best first:
// its index, drawn with weights that fall with each line's loss against
// the first, at `temperature_cp`, from the number `seed` stands for.
std::size_t choose_line(std::span<const int> scores, int temperature_cp, std::uint64_t seed);

}  // namespace marlek
