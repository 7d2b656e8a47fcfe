// Move ordering: capture gain, history, and the lazy selection.
#include <gtest/gtest.h>

#include "board/pieces.h"
#include "board_helpers.h"
#include "search/history.h"
#include "search/ordering.h"

namespace marlek::test {
namespace {

TEST(SearchOrdering, CaptureGainIsVictimMinusAttacker) {
  set_up("4k3/8/8/2q3n1/5P2/6p1/8/2R1K1Q1 w - - 0 1");
  const move rook_takes_queen(c1, 0x42), pawn_takes_knight(0x35, 0x46), queen_takes_pawn(g1, 0x26);
  EXPECT_TRUE(by_capture_gain(rook_takes_queen, pawn_takes_knight));
  EXPECT_FALSE(by_capture_gain(pawn_takes_knight, rook_takes_queen));
  // A move onto an empty square (as en passant lands) has gain 0.
  const move onto_empty(0x35, 0x45);
  EXPECT_TRUE(by_capture_gain(onto_empty, queen_takes_pawn));
}

TEST(SearchOrdering, SelectNextTakesTheNearestOfEqualBest) {
  set_up(start_position_fen);
  clear_history();
  move_list frame;
  const move a(0x10, 0x20), b(0x11, 0x21), c(0x12, 0x22), d(0x13, 0x23);
  for (move m : {a, b, c, d}) global_moves.push_back(m);
  history[b.from][b.to] = 5;
  history[d.from][d.to] = 5;
  select_next(frame.start(), history_of);
  EXPECT_TRUE(global_moves[frame.start()] == b);  // b and d tie; b stands nearer
  // The exchange put a where b was; nothing else moved.
  EXPECT_TRUE(global_moves[frame.start() + 1] == a);
  EXPECT_TRUE(global_moves[frame.start() + 3] == d);
}

TEST(SearchOrdering, MoveListTruncatesOnEveryExit) {
  set_up(start_position_fen);
  const std::size_t base = global_moves.size();
  {
    move_list outer;
    generate_quiet();
    {
      move_list inner;
      generate_quiet();
      EXPECT_EQ(global_moves.size(), base + 40);
    }
    EXPECT_EQ(global_moves.size(), base + 20);
  }
  EXPECT_EQ(global_moves.size(), base);
}

TEST(SearchOrdering, HistoryRewardAgeAndClear) {
  clear_history();
  const move m(0x14, 0x34);
  reward_history(m);
  reward_history(m);
  reward_history(m);
  EXPECT_EQ(history[m.from][m.to], 3u);
  history[0x08][0x00] = 9;  // an off-board origin is left alone by ageing
  age_history();
  EXPECT_EQ(history[m.from][m.to], 1u);
  EXPECT_EQ(history[0x08][0x00], 9u);
  clear_history();
  EXPECT_EQ(history[m.from][m.to], 0u);
  EXPECT_EQ(history[0x08][0x00], 0u);
}

TEST(SearchOrdering, NewSearchResetsTheNodeCount) {
  set_up(start_position_fen);
  node_count = 12345;
  new_search();
  EXPECT_EQ(node_count, 0u);
}

}  // namespace
}  // namespace marlek::test
