// Move generation and attack tests.
#include <gtest/gtest.h>

#include "board/pieces.h"
#include "board_helpers.h"

namespace marlek::test {
namespace {

std::vector<std::string> generated(void (*generate)()) {
  move_list frame;
  generate();
  std::vector<std::string> texts;
  for (std::size_t i = frame.start(); i < frame.end(); ++i)
    texts.push_back(to_text(global_moves[i]));
  return texts;
}

bool generates(void (*generate)(), const std::string& text) {
  auto texts = generated(generate);
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(BoardGeneration, InitialPositionInListOrder) {
  set_up(start_position_fen);
  EXPECT_TRUE(generated(generate_captures).empty());
  const std::vector<std::string> expected = {"a2a3", "a2a4", "b2b3", "b2b4", "c2c3", "c2c4", "d2d3",
                                             "d2d4", "e2e3", "e2e4", "f2f3", "f2f4", "g2g3", "g2g4",
                                             "h2h3", "h2h4", "b1a3", "b1c3", "g1f3", "g1h3"};
  EXPECT_EQ(generated(generate_quiet), expected);
}

TEST(BoardGeneration, InitialPositionState) {
  set_up(start_position_fen);
  EXPECT_GE(global_moves.capacity(), reserved_moves);  // room reserved at start-up
  EXPECT_EQ(position::material[white], 4180);
  EXPECT_EQ(position::material[black], 4180);
  EXPECT_EQ(position::bishop_count[white], 2);
  EXPECT_EQ(position::bishop_count[black], 2);
  ASSERT_NE(position::kings[white], nullptr);
  EXPECT_EQ(position::kings[white]->sq, e1);
  EXPECT_EQ(position::kings[black]->sq, e8);
  // Lists follow the text: Black's rank 8 first; White's pawns before its pieces.
  EXPECT_EQ(position::pieces[black].front()->sq, a8);
  EXPECT_EQ(position::pieces[white].front()->sq, 0x10);
  EXPECT_EQ(position::pieces[white].back()->sq, h1);
}

TEST(BoardGeneration, PromotionsComeQueenRookBishopKnight) {
  set_up("1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  const std::vector<std::string> captures = {"a7b8q", "a7b8r", "a7b8b", "a7b8n"};
  EXPECT_EQ(generated(generate_captures), captures);
  std::vector<std::string> pushes;
  for (const auto& text : generated(generate_quiet))
    if (text.rfind("a7", 0) == 0) pushes.push_back(text);
  const std::vector<std::string> expected_pushes = {"a7a8q", "a7a8r", "a7a8b", "a7a8n"};
  EXPECT_EQ(pushes, expected_pushes);
}

TEST(BoardGeneration, SlidersAttackAnOccupiedTargetOnAnOpenLine) {
  set_up("4k3/8/8/8/8/8/8/R2NK3 w - - 0 1");
  const apiece* rook_piece = position::board[a1];
  EXPECT_TRUE(rook_piece->attacks(d1));   // own knight, line open
  EXPECT_FALSE(rook_piece->attacks(e1));  // behind the knight
  EXPECT_TRUE(rook_piece->attacks(0x70));
}

TEST(BoardGeneration, CastlingComesFirstAndNeedsFreeSafeSquares) {
  set_up("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  auto king_moves = [] {
    auto all = generated(generate_quiet);
    std::vector<std::string> mine;
    for (auto& t : all)
      if (t.rfind("e1", 0) == 0) mine.push_back(t);
    return mine;
  };
  auto moves = king_moves();
  ASSERT_GE(moves.size(), 2u);
  EXPECT_EQ(moves[0], "e1g1");
  EXPECT_EQ(moves[1], "e1c1");

  set_up("4k3/8/8/8/8/8/8/RN2K2R w KQ - 0 1");  // b1 occupied
  moves = king_moves();
  EXPECT_EQ(std::count(moves.begin(), moves.end(), "e1c1"), 0);

  set_up("1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");  // b1 attacked but empty
  moves = king_moves();
  EXPECT_EQ(std::count(moves.begin(), moves.end(), "e1c1"), 1);

  set_up("3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1");  // d1 attacked
  moves = king_moves();
  EXPECT_EQ(std::count(moves.begin(), moves.end(), "e1c1"), 0);
  EXPECT_EQ(std::count(moves.begin(), moves.end(), "e1g1"), 1);

  set_up("4r1k1/8/8/8/8/8/8/R3K2R w KQ - 0 1");  // in check: no castling
  moves = king_moves();
  EXPECT_EQ(std::count(moves.begin(), moves.end(), "e1g1"), 0);
  EXPECT_EQ(std::count(moves.begin(), moves.end(), "e1c1"), 0);
}

TEST(BoardGeneration, EnPassantOnlyRightAfterTheDoubleStep) {
  set_up("4k3/3p3p/8/4P3/8/8/8/4K3 b - - 0 1");
  make_move(move(0x63, 0x43));  // d7d5
  auto captures = generated(generate_captures);
  ASSERT_FALSE(captures.empty());
  EXPECT_EQ(captures.front(), "e5d6");
  make_move(move(e1, 0x14));    // Ke1-e2 instead
  make_move(move(0x67, 0x57));  // h7h6
  EXPECT_FALSE(generates(generate_captures, "e5d6"));
}

TEST(BoardGeneration, DoubleStepOnlyFromTheHomeRankAndUnblocked) {
  set_up("4k3/8/8/8/8/4n3/P3P3/4K3 w - - 0 1");
  auto quiet = generated(generate_quiet);
  EXPECT_EQ(std::count(quiet.begin(), quiet.end(), "a2a4"), 1);
  EXPECT_EQ(std::count(quiet.begin(), quiet.end(), "e2e3"), 0);
  EXPECT_EQ(std::count(quiet.begin(), quiet.end(), "e2e4"), 0);
  make_move(move(0x10, 0x20));  // a2a3
  make_move(move(0x74, 0x75));
  quiet = generated(generate_quiet);
  EXPECT_EQ(std::count(quiet.begin(), quiet.end(), "a3a5"), 0);
}

TEST(BoardGeneration, AttackTestsOfAColour) {
  set_up("4k3/8/8/8/8/8/3p4/4K3 w - - 0 1");
  EXPECT_TRUE(attacked(black, e1));
  EXPECT_TRUE(in_check(white));
  EXPECT_FALSE(in_check(black));
  EXPECT_FALSE(attacked(black, d1));
}

}  // namespace
}  // namespace marlek::test
