// The quiescence search: its floor, the king capture, stand-pat while in
// check, history rewards for quiet cut-offs only, and the stand-pat found
// before a move is made.
#include <gtest/gtest.h>

#include <algorithm>

#include "board/move_list.h"
#include "board/position.h"
#include "eval/evaluate.h"
#include "game/root.h"
#include "search/quiesce.h"
#include "search/scores.h"
#include "search/search_state.h"
#include "search/shortcuts.h"

namespace marlek {
namespace {

void set_up(const char* fen) { ASSERT_TRUE(root::SetBoard(fen)) << fen; }

std::uint64_t history_total() {
  std::uint64_t total = 0;
  for (const auto& row : history)
    for (std::uint32_t count : row) total += count;
  return total;
}

constexpr const char* exchange_fen = "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2";

TEST(Quiesce, AtTheFloorOnlyTheStaticScoreCounts) {
  set_up(exchange_fen);
  const int stand = evaluate(-infinity_score, infinity_score);
  node_count = 0;
  EXPECT_EQ(quiesce(-1000, -infinity_score, infinity_score), stand);
  EXPECT_EQ(quiesce(-1000, stand + 10, stand + 20), stand + 10);  // never below alpha
  EXPECT_EQ(node_count, 0u);
  quiesce(-999, -infinity_score, infinity_score);  // still searches exd5
  EXPECT_GT(node_count, 0u);
  EXPECT_EQ(global_moves.size(), root_moves_end);
}

TEST(Quiesce, CapturingTheKingScores10002) {
  set_up("4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1");
  make_move(move("e2d3"));
  EXPECT_EQ(quiesce(0, -infinity_score, infinity_score), king_capture_score);
}

TEST(Quiesce, CheckmatedSideStandsPat) {
  set_up("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
  make_move(move("a1a8"));
  const int stand = evaluate(-infinity_score, infinity_score);
  EXPECT_EQ(quiesce(0, -infinity_score, infinity_score), stand);
  EXPECT_EQ(quiesce(0, 5000, 6000), 5000);
}

TEST(Quiesce, QuietEvasionThatCutsOffEarnsHistory) {
  // White, in check from the e8 rook, stands at -38. The rook moves b2 to
  // d2 leave the king in check; Ra2-e2 blocks and is worth +2 (kings alone
  // after Rxe2 Kxe2), which reaches beta -25. The window is wide enough
  // that no evaluation on the way stops at the bare material.
  set_up("4r2k/8/8/8/8/8/R7/4K3 w - - 0 1");
  ASSERT_EQ(evaluate(-infinity_score, infinity_score), -38);
  EXPECT_EQ(quiesce(0, -39, -25), -25);
  EXPECT_EQ(history[0x10][0x14], 1u);  // a2e2
  EXPECT_EQ(history_total(), 1u);
}

TEST(Quiesce, CaptureThatCutsOffEarnsNothing) {
  // exd5 wins a loose knight.
  set_up("4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1");
  EXPECT_GE(quiesce(0, -1, 0), 0);
  EXPECT_EQ(history_total(), 0u);
}

// Calls visit(depth, alpha, beta) at the floor and above it, for narrow and
// wide windows from well below to well above the material.
template <typename visitor>
void for_each_window(visitor visit) {
  for (int depth : {0, -1000})
    for (int alpha = -2000; alpha <= 2000; alpha += 50)
      for (int beta : {alpha + 1, alpha + 120}) visit(depth, alpha, beta);
}

// The answer found before a move is made must be the answer of the child
// the search would have searched. Every legal move of positions with
// captures, en passant, promotions (with and without capture) and
// castling, at the floor and above it, with windows on both sides of the
// material.
TEST(Quiesce, StandPatFoundBeforeTheMoveIsTheChildsAnswer) {
  const char* const fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
      "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
  };
  int known = 0;
  for (const char* fen : fens) {
    set_up(fen);
    const std::vector<move> moves(global_moves.begin(), global_moves.begin() + root_moves_end);
    for (move m : moves) {
      for_each_window([&](int depth, int alpha, int beta) {
        int found = 0;
        if (HasFatalFailure() || !quiesce_after(m, depth, alpha, beta, found)) return;
        ++known;
        make_move(m);
        const int searched = quiesce(depth, alpha, beta);
        unmake_move(m);
        ASSERT_EQ(found, searched)
            << fen << " " << to_text(m) << " depth " << depth << " window " << alpha << " " << beta;
      });
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_GT(known, 1000);
}

// When the quiet moves are said to score no better than alpha, every one
// of them but a promotion must, made and searched as without the shortcut
// (an illegal one scores the king capture: the reply sees the king
// attacked). In check, out of check, at the floor and above it.
TEST(Quiesce, QuietMovesCountedUnpickedScoreNoBetterThanAlpha) {
  const char* const fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "4r2k/8/8/8/8/8/R7/4K3 w - - 0 1",
      "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
  };
  int held = 0;
  for (const char* fen : fens) {
    set_up(fen);
    move_list frame;
    generate_quiet();
    const std::vector<move> quiet(global_moves.begin() + frame.start(), global_moves.end());
    for_each_window([&](int depth, int alpha, int beta) {
      if (HasFatalFailure() || !quiet_moves_fail_low(alpha, beta)) return;
      ++held;
      for (move m : quiet) {
        if (m.kind != no_promotion) continue;
        make_move(m);
        const int score = -quiesce(depth, -beta, -alpha);
        unmake_move(m);
        ASSERT_LE(score, alpha) << fen << " " << to_text(m) << " depth " << depth << " window "
                                << alpha << " " << beta;
      }
    });
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(held, 100);
}

}  // namespace
}  // namespace marlek
