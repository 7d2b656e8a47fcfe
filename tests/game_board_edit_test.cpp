// Boards edited square by square: the check the engine makes before it
// sets such a board up must agree with the board's own check test, or a
// board it accepts would be refused by the set-up and the game lost.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "board/repetition.h"
#include "board_helpers.h"
#include "game/board_edit.h"

namespace marlek {
namespace {

constexpr const char* not_to_move_in_check = "the side not to move is in check";

// Whether the check found on the letters alone says the side to move is in
// check, asked the way an edit asks it: with the other side on move.
bool edit_sees_check() {
  const std::int32_t other = 1 - position::side_to_move;
  const char* reason = unplayable_reason(snapshot_of_position().placement, other);
  return reason && std::string(reason) == not_to_move_in_check;
}

TEST(BoardEdit, CheckOnTheLettersAgreesWithTheBoard) {
  std::ifstream in(MARLEK_TEST_DATA "/perft.txt");
  int checks = 0, positions = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    test::set_up(line.substr(0, line.find(';')));
    for (const move m : test::root_moves()) {
      make_move(m);
      ++positions;
      checks += in_check(position::side_to_move);
      EXPECT_EQ(edit_sees_check(), in_check(position::side_to_move)) << line << " " << to_text(m);
      unmake_move(m);
    }
  }
  EXPECT_GT(checks, 100);  // checks by every kind of piece among them
  EXPECT_GT(positions, 1000);
}

TEST(BoardEdit, UnplayableBoardsAreNamedAndLeaveTheGame) {
  test::set_up(start_position_fen);
  placement changes{};
  changes[4] = '.';  // no white king
  EXPECT_STREQ(set_up_edited(changes), "each side needs exactly one king");
  changes[4] = 'K';
  changes[0] = 'P';  // a white pawn on a1
  EXPECT_STREQ(set_up_edited(changes), "a pawn on the first or last rank");
  EXPECT_EQ(test::root_move_texts().size(), 20u);  // the start position still
}

}  // namespace
}  // namespace marlek
