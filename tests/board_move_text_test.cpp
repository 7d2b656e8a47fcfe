// Coordinate move text, both ways.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>

#include "board/move.h"

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

}  // namespace
}  // namespace marlek
