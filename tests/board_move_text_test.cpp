// Move text, both ways: coordinates, and castling as each front end spells it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>

#include "board/move.h"
#include "board/move_text.h"
#include "board_helpers.h"

namespace marlek {
namespace {

// Parses from a buffer of exactly the text's size, so that a read past the
// end shows up under the address sanitizer.
move parse_exact(const std::string& text) {
  auto buffer = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
  return move(buffer.get());
}

TEST(BoardMoveText, ParsesSquaresAndPromotions) {
  move m = parse_exact("e2e4");
  EXPECT_EQ(m.from, 0x14);
  EXPECT_EQ(m.to, 0x34);
  EXPECT_EQ(m.kind, no_promotion);
  m = parse_exact("e7e8q");
  EXPECT_EQ(m.from, 0x64);
  EXPECT_EQ(m.to, 0x74);
  EXPECT_EQ(m.kind, promote_queen);
  m = parse_exact("b2b1n");
  EXPECT_EQ(m.from, 0x11);
  EXPECT_EQ(m.to, 0x01);
  EXPECT_EQ(m.kind, promote_knight);
  EXPECT_EQ(parse_exact("a7a8r").kind, promote_rook);
  EXPECT_EQ(parse_exact("a7a8b").kind, promote_bishop);
  m = parse_exact("h8a1");
  EXPECT_EQ(m.from, 0x77);
  EXPECT_EQ(m.to, 0x00);
}

TEST(BoardMoveText, RoundTrips) {
  for (const char* text : {"e2e4", "e7e8q", "b2b1n", "a7a8r", "h2h1b", "e1g1", "e8c8", "h8a1"}) {
    std::ostringstream out;
    out << move(text) << '|';
    EXPECT_EQ(out.str(), std::string(text) + "|");
  }
}

TEST(BoardMoveText, UnreadableTextMatchesNoMove) {
  // None of these may read past its end, and each yields the unreadable kind,
  // which no generator produces.
  for (const char* text :
       {"", "e", "e2", "e2e", "i2e4", "e9e4", "e2e0", "E2E4", "e2e4K", "e2e4x", "0000", "e2-e4"}) {
    EXPECT_EQ(parse_exact(text).kind, unreadable_kind) << '"' << text << '"';
    EXPECT_FALSE(is_move_text(text)) << '"' << text << '"';
  }
  EXPECT_EQ(move(nullptr).kind, unreadable_kind);
  // GUIs write the promotion letter in either case; both read alike.
  EXPECT_EQ(parse_exact("e7e8Q"), parse_exact("e7e8q"));
  EXPECT_TRUE(is_move_text("e7e8N"));
}

TEST(BoardMoveText, ExtraTextAfterTheMoveIsIgnoredOnlyPastThePromotionLetter) {
  EXPECT_EQ(parse_exact("e7e8qq").kind, promote_queen);
  EXPECT_EQ(parse_exact("e2e4 ").kind, unreadable_kind);
}

// Castling in the three spellings, in a Chess960 game (king on b1 beside its
// a1 rook) and in standard chess, where the engine's own move is e1g1. A
// castling that is not legal, or spelled in coordinates where letters are
// asked, reads as a move no legal move matches.
TEST(BoardMoveText, CastlingInEachFrontEndsSpelling) {
  using enum castling_text;
  test::set_up("rk5r/pppppppp/8/8/8/8/PPPPPPPP/RK5R w HAha - 0 1");
  const move short_960(0x01, 0x07), long_960(0x01, 0x00);  // b1h1, b1a1
  EXPECT_EQ(to_text(short_960, coordinate), "b1h1");
  EXPECT_EQ(to_text(short_960, king_takes_rook), "b1h1");
  EXPECT_EQ(to_text(long_960, castling_letters), "O-O-O");
  EXPECT_EQ(to_text(move("b1c1"), castling_letters), "b1c1");  // the king's step
  EXPECT_EQ(read_move("b1h1", king_takes_rook), short_960);
  EXPECT_EQ(read_move("O-O", castling_letters), short_960);
  EXPECT_EQ(read_move("0-0-0", castling_letters), long_960);
  EXPECT_EQ(read_move("b1a1", castling_letters).kind, unreadable_kind);
  EXPECT_EQ(read_move("b1c1", castling_letters), move("b1c1"));

  test::set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  EXPECT_EQ(to_text(move("e1g1"), coordinate), "e1g1");
  EXPECT_EQ(to_text(move("e1g1"), king_takes_rook), "e1h1");
  EXPECT_EQ(to_text(move("e1c1"), castling_letters), "O-O-O");
  EXPECT_EQ(read_move("e1h1", king_takes_rook), move("e1g1"));
  EXPECT_EQ(read_move("e1g1", king_takes_rook).kind, unreadable_kind);
  EXPECT_EQ(read_move("O-O", castling_letters), move("e1g1"));

  // White may castle neither way: the queen on h1 sees g1; on the queen
  // side the rook from b1 no longer shields c1 from the queen on a1. Nor
  // does a side castle out of turn.
  test::set_up("1r1k3r/pppppppp/8/8/8/8/8/qR1K1R1q w FBhb - 0 1");
  for (const char* text : {"O-O", "O-O-O"})
    EXPECT_EQ(read_move(text, castling_letters).kind, unreadable_kind) << text;
  for (const char* text : {"d1f1", "d1b1"})
    EXPECT_EQ(read_move(text, king_takes_rook).kind, unreadable_kind) << text;
  const std::vector<move> legal = test::root_moves();
  EXPECT_EQ(std::find(legal.begin(), legal.end(), read_move("d8h8", king_takes_rook)), legal.end());
}

}  // namespace
}  // namespace marlek
