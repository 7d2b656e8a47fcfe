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

// The picker must give the moves in exactly the order of next_best, also
// when the history changes between two picks, as a cut-off below does.
template <bool quiet>
std::vector<move> picks(bool use_picker) {
  clear_history();
  for (int from : {0x01, 0x06, 0x14, 0x13})  // some moves of the position with merit
    for (int step : {0x10, 0x20, 0x1f, 0x21}) history[from][from + step] = 2;
  move_list list;
  quiet ? generate_quiet() : generate_captures();
  std::vector<move> order;
  move_picker<quiet> picker(list);
  for (std::size_t i = list.start(); i < list.end(); ++i) {
    order.push_back(use_picker ? picker.next(i) : next_best<quiet>(i));
    if (i % 3 == 1) reward_history(global_moves[list.end() - 1 - i % 5]);
  }
  return order;
}

TEST(SearchOrdering, PickerGivesTheOrderOfNextBest) {
  set_up("r3k2r/1pp2ppp/p1n1bn2/2bpp1q1/2BPP1Q1/P1N1BN2/1PP2PPP/R3K2R w KQkq - 0 1");
  EXPECT_EQ(picks<true>(true), picks<true>(false));
  EXPECT_GT(picks<true>(true).size(), 30u);
  EXPECT_EQ(picks<false>(true), picks<false>(false));
  EXPECT_GT(picks<false>(true).size(), 3u);
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
