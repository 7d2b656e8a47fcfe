// Reading book files: the tree of lines, the token rules, and every fault
// that ends the loading with the keys stored before it kept.
#include <algorithm>
#include <string>

#include "board/consistency.h"
#include "book_test_support.h"
#include "search/search_state.h"

namespace marlek {
namespace {

using BookLoader = BookTest;

TEST_F(BookLoader, ExampleBookStoresTheEightPositionsItNames) {
  root::SetBoard(start_position_fen);
  const hash_key start = position::position_key;
  reach({"e2e4", "c7c5", "g1f3"});
  EXPECT_EQ(load(example_book), "");
  EXPECT_EQ(opening_book::stored_positions(), 8);
  // The initial position set up afresh, with its root list, for a game that
  // begins without `new`.
  EXPECT_TRUE(position::position_key == start);
  EXPECT_EQ(position::ply, 0);
  EXPECT_EQ(position::side_to_move, white);
  EXPECT_TRUE(book_line.empty());
  EXPECT_EQ(root_moves_end, 20u);
  EXPECT_EQ(position_fault(), "");

  EXPECT_TRUE(stored({"e2e4"}));
  EXPECT_TRUE(stored({"e2e4", "e7e5"}));
  EXPECT_TRUE(stored({"e2e4", "e7e5", "g1f3"}));
  EXPECT_TRUE(stored({"e2e4", "e7e5", "g1f3", "b8c6"}));
  EXPECT_TRUE(stored({"e2e4", "e7e5", "g1f3", "b8c6", "f1b5"}));
  EXPECT_TRUE(stored({"e2e4", "e7e5", "f2f4"}));
  EXPECT_TRUE(stored({"e2e4", "c7c5"}));
  EXPECT_TRUE(stored({"e2e4", "c7c5", "g1f3"}));
  EXPECT_FALSE(stored({}));
  EXPECT_FALSE(stored({"d2d4"}));
  EXPECT_FALSE(stored({"e2e4", "e7e5", "g1f3", "g8f6"}));
}

TEST_F(BookLoader, RepeatedPositionsTakeFurtherSlots) {
  EXPECT_EQ(load("1. e2e4 e7e5\n1. e2e4 e7e5\n"), "");
  EXPECT_EQ(opening_book::stored_positions(), 4);
}

TEST_F(BookLoader, MoveNumbersGoBackAlongTheLine) {
  EXPECT_EQ(load("1. e2e4 e7e5 2. g1f3 1... c7c5 1. d2d4 d7d5\n1... g8f6"), "");
  EXPECT_EQ(opening_book::stored_positions(), 7);
  EXPECT_TRUE(stored({"d2d4", "g8f6"}));
  EXPECT_TRUE(stored({"e2e4", "c7c5"}));
  // Repeating the current point is allowed too.
  EXPECT_EQ(load("1. e2e4 1... e7e5 2. 2. g1f3"), "");
  EXPECT_TRUE(stored({"e2e4", "e7e5", "g1f3"}));
}

TEST_F(BookLoader, SeparatorsCommentsAndLineEnds) {
  // Tokens need no spaces between them and may be split by spaces, tabs,
  // line ends and comments; CR LF counts as one line end.
  EXPECT_EQ(load("1.e2e4e7e5"), "");
  EXPECT_EQ(opening_book::stored_positions(), 2);
  EXPECT_TRUE(stored({"e2e4", "e7e5"}));

  clear_book();
  EXPECT_EQ(load("# opening\r\n1. e 2\te4 # king's pawn\r\ne7\r\ne5\r\n2.g1f3"), "");
  EXPECT_EQ(opening_book::stored_positions(), 3);
  EXPECT_TRUE(stored({"e2e4", "e7e5", "g1f3"}));

  // A carriage return that ends no line is refused, and line ends before
  // it are counted once each.
  clear_book();
  EXPECT_EQ(load("1. e2e4\r\n# a comment\r\ne7e5\r g1f3"), parse_error(3));
  EXPECT_EQ(opening_book::stored_positions(), 2);
}

TEST_F(BookLoader, EmptyFilesLoadSilently) {
  EXPECT_EQ(load(""), "");
  EXPECT_EQ(load("# only a comment\n\n   \t\n# and another without line end"), "");
  EXPECT_EQ(opening_book::stored_positions(), 0);
  // An unfinished token at the end of the file is dropped.
  EXPECT_EQ(load("1. e2e4 e7"), "");
  EXPECT_EQ(opening_book::stored_positions(), 1);
}

TEST_F(BookLoader, MissingFileLeavesTheBookEmpty) {
  const std::string path = testing::TempDir() + "marlek_no_such_book.txt";
  EXPECT_EQ(load_file(path), "Error: Unable to open " + path + ". No opening book loaded.\n");
  EXPECT_EQ(opening_book::stored_positions(), 0);
  EXPECT_EQ(position::ply, 0);
}

TEST_F(BookLoader, BadCharacterEndsLoadingAtItsLine) {
  EXPECT_EQ(load("1. e2e4 e7e5\n2. g1f3 B8c6 3. f1b5\n"), parse_error(2));
  EXPECT_EQ(opening_book::stored_positions(), 3);
  EXPECT_TRUE(stored({"e2e4", "e7e5", "g1f3"}));

  clear_book();
  EXPECT_EQ(load("# comment\n1. d2d4 - d7d5\n"), parse_error(2));
  EXPECT_EQ(opening_book::stored_positions(), 1);
}

TEST_F(BookLoader, IllogicalMoveNumber) {
  EXPECT_EQ(load("1. e2e4 e7e5 3. g1f3"),
            "Error: Illogical move number in " + path_ + " at line 1.\n");
  EXPECT_EQ(opening_book::stored_positions(), 2);

  clear_book();
  EXPECT_EQ(load("1. e2e4\n\n1... e7e5\n2... b8c6\n"),
            "Error: Illogical move number in " + path_ + " at line 4.\n");
  EXPECT_EQ(opening_book::stored_positions(), 2);
  EXPECT_TRUE(stored({"e2e4", "e7e5"}));

  clear_book();
  EXPECT_EQ(load("1... e7e5"), "Error: Illogical move number in " + path_ + " at line 1.\n");
  EXPECT_EQ(opening_book::stored_positions(), 0);
}

TEST_F(BookLoader, MovesMustBeLegalWhereTheyStand) {
  // No pawn reaches e5 from e2.
  EXPECT_EQ(load("1. e2e4 e7e5\n2. e2e5"), parse_error(2));
  EXPECT_EQ(opening_book::stored_positions(), 2);

  // Generated, but the king would step into the queen's attack.
  clear_book();
  EXPECT_EQ(load("1. e2e4 f7f6 2. d1h5\n2... e8f7"), parse_error(2));
  EXPECT_EQ(opening_book::stored_positions(), 3);

  // A move of the side not to move.
  clear_book();
  EXPECT_EQ(load("1. e7e5"), parse_error(1));
  EXPECT_EQ(opening_book::stored_positions(), 0);

  // A pawn reaching the last rank needs a promotion letter, which the
  // format cannot write.
  clear_book();
  EXPECT_EQ(load("1. h2h4 g7g5 2. h4g5 h7h6 3. g5h6 f8g7 4. h6g7 g8f6\n5. g7h8"), parse_error(2));
  EXPECT_EQ(opening_book::stored_positions(), 8);
}

TEST_F(BookLoader, MalformedTokensAreRefused) {
  struct refused {
    const char* text;
    int stored;
  };
  const refused cases[] = {
      {"1. e2e4q", 1},                // promotion letter: e2e4 is read and stored first
      {"1. e2e4 e7e5\nabcdefgh", 2},  // letters that never form a move
      {"1. e2e4 e7.", 1},             // a dot ends a token that is no move
      {"1. e2e4 e7e5\n0. d2d4", 2},   // move number 0
      {"1. e2e4 e7e5\n0... d7d5", 2},
      {"1. e2e4 e7e5\n1234 d2d4", 2},     // four digits end the token before any dot
      {"1. e2e4 e7e5\n1e. d2d4", 2},      // a number followed by a letter
      {"1. e2e4 e7e5\n1...... d2d4", 2},  // more dots than any move number has
  };
  for (const refused& c : cases) {
    clear_book();
    const std::string text = c.text;
    const int line = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(load(text), parse_error(line)) << text;
    EXPECT_EQ(opening_book::stored_positions(), c.stored) << text;
  }
}

TEST_F(BookLoader, FullBookEndsLoading) {
  const hash_key taken{1, 1};
  for (int slot = 0; slot < static_cast<int>(opening_book::slot_count); ++slot)
    opening_book::store(slot, taken);
  EXPECT_EQ(load("1. e2e4"), "Error: Book either full, or there's a hashing problem.\n");
  EXPECT_EQ(position::ply, 0);
  EXPECT_FALSE(in_book());
}

TEST_F(BookLoader, ProbeSequenceVisitsElevenQuadraticSteps) {
  root::SetBoard(start_position_fen);
  const std::uint32_t home = position::position_key.low & opening_book::slot_mask;
  const hash_key key{7, 9};
  for (std::uint32_t offset : {0u, 1u, 5u, 14u, 30u, 55u, 91u, 140u, 204u, 285u, 385u}) {
    const int slot = static_cast<int>((home + offset) & opening_book::slot_mask);
    opening_book::store(slot, key);
    EXPECT_EQ(find_book_slot(key), slot) << offset;
    opening_book::store(slot, hash_key{});
  }
  // A slot off the sequence is never found.
  opening_book::store(static_cast<int>((home + 2) & opening_book::slot_mask), key);
  EXPECT_EQ(find_book_slot(key), no_book_slot);
}

}  // namespace
}  // namespace marlek
