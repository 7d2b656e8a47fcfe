// The levels below full strength: how each level's plan weakens, and the
// draw of a move among the root lines.
#include "engine/strength.h"

#include <gtest/gtest.h>

#include <array>

namespace marlek {
namespace {

TEST(Strength, LowerLevelsSeeLessAndErrMore) {
  const strength_plan low = plan_for_level(lowest_level_elo);
  const strength_plan mid = plan_for_level(1400);
  const strength_plan top = plan_for_level(full_strength_elo);
  EXPECT_LT(low.nodes, mid.nodes);
  EXPECT_LT(mid.nodes, top.nodes);
  EXPECT_GT(low.temperature_cp, mid.temperature_cp);
  EXPECT_GT(mid.temperature_cp, top.temperature_cp);
  EXPECT_GE(top.lines, 2);  // something to choose from, at every level
  EXPECT_GE(low.lines, top.lines);
  EXPECT_EQ(plan_for_level(0).nodes, low.nodes);
  EXPECT_EQ(plan_for_level(99999).nodes, top.nodes);
}

// Counts how often each of the lines is drawn over many seeds, each seed
// drawing the same line twice.
std::array<int, 4> draws(const std::array<int, 4>& scores, int temperature_cp) {
  std::array<int, 4> counts{};
  for (std::uint64_t seed = 0; seed < 4000; ++seed) {
    const std::size_t line = choose_line(scores, temperature_cp, seed * 0x2545f4914f6cdd1dULL);
    EXPECT_EQ(choose_line(scores, temperature_cp, seed * 0x2545f4914f6cdd1dULL), line);
    ++counts.at(line);
  }
  return counts;
}

TEST(Strength, TheDrawFavoursTheBestLinesByTheLevelsTemperature) {
  const std::array<int, 4> scores = {40, 25, 10, -300};  // the last loses a piece
  const auto low = draws(scores, plan_for_level(lowest_level_elo).temperature_cp);
  EXPECT_GT(low[0], low[1]);
  EXPECT_GT(low[1], low[2]);
  EXPECT_GT(low[2], 400);        // a move 30 centipawns worse is often played
  EXPECT_LT(low[3], 4000 / 20);  // the piece seldom goes
  const auto top = draws(scores, plan_for_level(full_strength_elo).temperature_cp);
  EXPECT_GT(top[0], 3900);  // near full strength, a worse move is rare
  EXPECT_EQ(top[3], 0);
}

}  // namespace
}  // namespace marlek
