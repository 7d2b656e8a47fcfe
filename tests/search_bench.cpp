// The bench must be deterministic: the same positions searched again give
// the same node counts and moves.
#include <gtest/gtest.h>

#include <sstream>

#include "base/output.h"
#include "game/bench.h"

namespace marlek {
namespace {

constexpr int test_depth = 2;

TEST(Bench, TwoRunsGiveTheSameSignature) {
  const auto first = run_bench(test_depth);
  const auto second = run_bench(test_depth);
  ASSERT_EQ(first.size(), bench_positions().size());
  EXPECT_GT(bench_signature(first), 0u);
  EXPECT_EQ(bench_signature(first), bench_signature(second));
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].nodes, second[i].nodes) << i;
    EXPECT_EQ(first[i].best, second[i].best) << i;
  }
}

TEST(Bench, SamePositionSetUpTwiceSearchesAlike) {
  const char* fen = bench_positions()[7];
  const bench_result first = bench_position(fen, 3);
  bench_position(bench_positions()[2], 3);  // something else in between
  const bench_result again = bench_position(fen, 3);
  EXPECT_GT(first.nodes, 0u);
  EXPECT_EQ(first.nodes, again.nodes);
  EXPECT_EQ(first.best, again.best);
}

// The bench signature is the search's fingerprint: a change meant only to
// make the engine faster or clearer leaves it exactly as it is. A change
// meant to alter the search updates this number and says why in its commit.
TEST(Bench, SignatureAtDepthFourIsPinned) { EXPECT_EQ(bench_signature(run_bench(4)), 9410102u); }

TEST(Bench, BadTextGivesNoNodes) {
  std::ostringstream output;
  set_output_stream(&output);
  EXPECT_EQ(bench_position("not a position", 2).nodes, 0u);
  set_output_stream(nullptr);
  EXPECT_NE(output.str(), "");
}

}  // namespace
}  // namespace marlek
