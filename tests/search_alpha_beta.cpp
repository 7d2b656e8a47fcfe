// The main search: its early returns in the order they are taken, mate and
// stalemate scores, and a stored move that does not fit the position.
#include <gtest/gtest.h>

#include "board/consistency.h"
#include "board/position.h"
#include "game/bench.h"
#include "game/root.h"
#include "search/alpha_beta.h"
#include "search/hash_table.h"
#include "search/quiesce.h"
#include "search/scores.h"
#include "search/search_state.h"

namespace marlek {
namespace {

// An empty table, so that a slot holds the position only if this search
// probed it.
void set_up(const char* fen) { ASSERT_TRUE(set_up_afresh(fen)) << fen; }
void play(const char* text) { make_move(move(text)); }

// Whether the current position owns its slot of the table (was probed).
bool table_holds_position() { return hash_table::find(position::position_key) != nullptr; }

// The entry of the position after `text`, without disturbing the search's.
hash_entry after_move(const char* text) {
  play(text);
  const hash_entry entry = *hash_table::probe();
  unmake_move(move(text));
  return entry;
}

TEST(AlphaBetaEarly, KingCaptureComesBeforeEverything) {
  // The bishop on e2 is pinned; moving it lets the rook take the king.
  set_up("4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1");
  play("e2d3");
  node_count = 0;
  EXPECT_EQ(alpha_beta(300, -infinity_score, infinity_score), king_capture_score);
  // Also where a material shortcut would otherwise apply.
  EXPECT_EQ(alpha_beta(0, -infinity_score, -5000), king_capture_score);
  EXPECT_EQ(node_count, 0u);
  EXPECT_FALSE(table_holds_position());
}

// After White's quiet Kg1-h1, Black (queen against knight) is 650 ahead.
void set_up_black_ahead() {
  set_up("7k/8/8/8/8/8/q7/N5K1 w - - 0 1");
  play("g1h1");
  node_count = 0;
}

TEST(AlphaBetaEarly, MaterialShortcutAtDepthZeroNeedsMoreThan200AboveBeta) {
  set_up_black_ahead();
  EXPECT_EQ(alpha_beta(0, 448, 449), 650);
  EXPECT_EQ(node_count, 0u);
  EXPECT_FALSE(table_holds_position());
  alpha_beta(0, 449, 450);
  EXPECT_TRUE(table_holds_position());
}

TEST(AlphaBetaEarly, MaterialShortcutWithinTheLastPlyNeedsMoreThan500AboveBeta) {
  set_up_black_ahead();
  EXPECT_EQ(alpha_beta(50, 148, 149), 650);
  EXPECT_FALSE(table_holds_position());
  alpha_beta(50, 149, 150);
  EXPECT_TRUE(table_holds_position());
}

TEST(AlphaBetaEarly, NoMaterialShortcutAtDepth100) {
  set_up_black_ahead();
  alpha_beta(100, -5001, -5000);
  EXPECT_TRUE(table_holds_position());
  EXPECT_GT(node_count, 0u);
}

TEST(AlphaBetaEarly, NoMaterialShortcutAfterACapture) {
  // White's rook has just taken on a2; Black is still 1000 ahead, but the
  // capture extension rules the shortcut out.
  set_up("r6k/8/8/8/7q/8/p7/R5K1 w - - 0 1");
  play("a1a2");
  alpha_beta(0, -1, 0);
  EXPECT_TRUE(table_holds_position());
  // Taken back, so that no captured piece outlives the test: the list of
  // captured pieces is freed before a leak check at exit could see them.
  unmake_move(move("a1a2"));
}

// Black, a rook against queen and rook (1000 behind), after White's quiet
// Rb1-b3. Re2-e1 gives check, so that child is searched and stores its depth.
void set_up_black_behind() {
  set_up("6k1/8/8/8/8/8/4r3/QR4K1 w - - 0 1");
  play("b1b3");
}

TEST(AlphaBetaEarly, RazoringAt150SearchesChildrenOnePlyShallower) {
  set_up_black_behind();
  alpha_beta(150, -99, 50);  // -1000 + 900 < -99
  EXPECT_EQ(after_move("e2e1").depth, -50);

  set_up_black_behind();
  alpha_beta(150, -100, 50);  // -1000 + 900 is not below -100
  EXPECT_EQ(after_move("e2e1").depth, 50);
}

TEST(AlphaBetaEarly, GamePositionScoresPlus39WhateverTheWindow) {
  set_up(start_position_fen);
  play("g1f3");
  hash_table::probe()->set_repetitions(1);
  EXPECT_EQ(alpha_beta(300, 100, 200), -draw_score);
  EXPECT_EQ(alpha_beta(300, -500, -400), -draw_score);
  // The set-up position itself has occurred once in the game.
  unmake_move(move("g1f3"));
  EXPECT_EQ(alpha_beta(300, -50, 50), 39);
}

TEST(AlphaBetaEarly, RepetitionOnThePathIsLeftToQuiesce) {
  set_up("rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2");
  play("g1f3");  // Black can capture on e4
  hash_entry* entry = hash_table::probe();
  entry->set_in_search(1);
  node_count = 0;
  const int searched = alpha_beta(300, -50, 50);
  const std::uint64_t searched_nodes = node_count;
  entry->set_in_search(0);
  node_count = 0;
  EXPECT_EQ(searched, quiesce(300, -50, 50));
  EXPECT_EQ(searched_nodes, node_count);
  EXPECT_GT(searched_nodes, 0u);
}

TEST(AlphaBetaEnd, CheckmateIsMinus10000AndExactBelowMate) {
  set_up("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
  play("a1a8");
  EXPECT_EQ(alpha_beta(100, -infinity_score, infinity_score), mated_score);
  EXPECT_EQ(hash_table::probe()->bound(), exact_bound);
  EXPECT_EQ(hash_table::probe()->score, mated_score);

  // Entered with alpha at or above a mate, the node keeps its alpha.
  set_up("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
  play("a1a8");
  EXPECT_EQ(alpha_beta(100, -9000, infinity_score), -9000);
  EXPECT_EQ(hash_table::probe()->bound(), upper_bound);
}

TEST(AlphaBetaEnd, StalemateIsMinus39) {
  set_up("7k/4Q3/6K1/8/8/8/8/8 w - - 0 1");
  play("e7f7");
  EXPECT_EQ(alpha_beta(100, -infinity_score, infinity_score), draw_score);
  EXPECT_EQ(hash_table::probe()->bound(), exact_bound);

  set_up("7k/4Q3/6K1/8/8/8/8/8 w - - 0 1");
  play("e7f7");
  EXPECT_EQ(alpha_beta(100, -5000, 5000), -5000);
  EXPECT_EQ(hash_table::probe()->bound(), upper_bound);
}

TEST(AlphaBetaEnd, LeavesThePathMarksAndThePositionAsTheyWere) {
  set_up("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
  play("e1g1");
  const hash_key key = position::position_key;
  alpha_beta(300, -infinity_score, infinity_score);
  EXPECT_EQ(position::position_key, key);
  EXPECT_EQ(position_fault(), "");
  EXPECT_TRUE(null_move_allowed);
  EXPECT_EQ(global_moves.size(), root_moves_end);
  EXPECT_FALSE(hash_table::any_in_search());
}

// Searches Black's reply to 1. Nf3, optionally with a stored move planted
// in the entry first; returns the score and counts the nodes.
int search_after_nf3(const move* planted, std::uint64_t& nodes) {
  EXPECT_TRUE(set_up_afresh(start_position_fen));
  play("g1f3");
  if (planted) {
    hash_entry* entry = hash_table::probe();
    entry->hash_move = *planted;
    entry->set_has_move(1);
  }
  node_count = 0;
  const int score = alpha_beta(200, -infinity_score, infinity_score);
  nodes = node_count;
  return score;
}

TEST(AlphaBetaHashMove, StoredMoveThatDoesNotFitIsIgnored) {
  std::uint64_t plain_nodes = 0;
  const int plain = search_after_nf3(nullptr, plain_nodes);
  // From an empty square; a knight onto its own pawn; a White move.
  const move misfits[] = {move("e5e4"), move("b8d7"), move("e2e4")};
  for (const move& m : misfits) {
    std::uint64_t nodes = 0;
    EXPECT_EQ(search_after_nf3(&m, nodes), plain) << to_text(m);
    EXPECT_EQ(nodes, plain_nodes) << to_text(m);
    EXPECT_EQ(position_fault(), "");
  }
}

}  // namespace
}  // namespace marlek
