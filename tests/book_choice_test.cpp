// The engine's book step: the candidates among the root moves, the fixed
// pseudo-random choice, and when the book is switched off.
#include <vector>

#include "book/book_choice.h"
#include "book_test_support.h"
#include "search/search_state.h"

namespace marlek {
namespace {

using BookChoice = BookTest;

std::vector<move> moves_of(std::initializer_list<const char*> texts) {
  std::vector<move> result;
  for (const char* text : texts) result.push_back(move(text));
  return result;
}

// The moves among the root moves, in root-list order.
std::vector<move> in_root_order(const std::vector<move>& wanted) {
  std::vector<move> result;
  for (std::size_t i = 0; i < root_moves_end; ++i)
    if (std::find(wanted.begin(), wanted.end(), global_moves[i]) != wanted.end())
      result.push_back(global_moves[i]);
  return result;
}

TEST(BookRandom, FreshGeneratorGivesTheFixedSequence) {
  book_random rng;
  EXPECT_EQ(rng.next(), 346u);
  EXPECT_EQ(rng.next(), 130u);
  EXPECT_EQ(rng.next(), 10982u);
  EXPECT_EQ(rng.next(), 1090u);
  book_random fresh;
  EXPECT_EQ(fresh.next(), 346u);
}

TEST_F(BookChoice, StartPositionHasOneBookMove) {
  load(example_book);
  ASSERT_TRUE(root::SetBoard(start_position_fen));
  EXPECT_EQ(find_book_candidates(), moves_of({"e2e4"}));
  book_random rng;
  std::size_t index = root_moves_end;
  ASSERT_TRUE(choose_book_move(rng, index));
  ASSERT_LT(index, root_moves_end);
  EXPECT_EQ(global_moves[index], move("e2e4"));
  // The probing leaves the position as it was.
  EXPECT_EQ(position::ply, 0);
}

TEST_F(BookChoice, FirstDrawPicksTheFirstCandidate) {
  load(example_book);
  ASSERT_TRUE(root::SetBoard(start_position_fen));
  ASSERT_EQ(root::play_move(move("e2e4")), play_result::game_goes_on);
  const std::vector<move> expected = in_root_order(moves_of({"e7e5", "c7c5"}));
  ASSERT_EQ(expected.size(), 2u);
  EXPECT_EQ(find_book_candidates(), expected);

  book_random rng;  // first draw 346, even: index 0
  std::size_t index = root_moves_end;
  ASSERT_TRUE(choose_book_move(rng, index));
  EXPECT_EQ(global_moves[index], expected[0]);
  // The second draw, 130, is even too; the third, 10982, as well.
  ASSERT_TRUE(choose_book_move(rng, index));
  EXPECT_EQ(global_moves[index], expected[0]);
}

TEST_F(BookChoice, TranspositionCountsAsBookMove) {
  load("1. g1f3 g8f6 2. d2d4\n");
  ASSERT_TRUE(root::SetBoard(start_position_fen));
  ASSERT_EQ(root::play_move(move("d2d4")), play_result::game_goes_on);
  ASSERT_EQ(root::play_move(move("g8f6")), play_result::game_goes_on);
  EXPECT_EQ(find_book_candidates(), moves_of({"g1f3"}));
}

TEST_F(BookChoice, BookIsSwitchedOffOnlyByAMissAfterPly20) {
  load(example_book);
  ASSERT_TRUE(root::SetBoard(start_position_fen));
  book_random rng;
  std::size_t index = 0;
  const char* game[] = {"a2a3", "h7h6", "a3a4", "h6h5", "b2b3", "g7g6", "b3b4",
                        "g6g5", "c2c3", "f7f6", "c3c4", "f6f5", "d2d3", "e7e6",
                        "d3d4", "e6e5", "e2e3", "d7d6", "e3e4", "d6d5", "f2f3"};
  for (const char* text : game) {
    ASSERT_EQ(root::play_move(move(text)), play_result::game_goes_on) << text;
    EXPECT_FALSE(choose_book_move(rng, index)) << text;
    EXPECT_EQ(use_book.load(), position::ply <= 20) << text;
  }
  EXPECT_EQ(position::ply, 21);
}

TEST_F(BookChoice, NothingIsChosenWhileTheBookIsOff) {
  load(example_book);
  ASSERT_TRUE(root::SetBoard(start_position_fen));
  use_book = false;
  book_random rng;
  std::size_t index = 0;
  EXPECT_FALSE(choose_book_move(rng, index));
  // The generator was not drawn from.
  EXPECT_EQ(rng.next(), 346u);
}

TEST_F(BookChoice, EmptyBookHasNoCandidates) {
  ASSERT_TRUE(root::SetBoard(start_position_fen));
  EXPECT_TRUE(find_book_candidates().empty());
}

}  // namespace
}  // namespace marlek
