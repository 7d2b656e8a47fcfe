// Reading command lines and splitting them into words.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include "base/line_reader.h"
#include "base/numbers.h"
#include "xboard/command_line.h"

namespace marlek {
namespace {

TEST(ProtocolTokenizer, CommandWordAndArgumentText) {
  start_line("usermove e2e4");
  EXPECT_STREQ(words[0], "usermove");
  EXPECT_STREQ(line_rest, "e2e4");
  EXPECT_EQ(word_count, 1);

  start_line("setboard 8/8/8/8/8/8/8/K6k w - - 0 1");
  EXPECT_STREQ(line_rest, "8/8/8/8/8/8/8/K6k w - - 0 1");  // spaces kept

  start_line("ping");
  EXPECT_STREQ(words[0], "ping");
  EXPECT_STREQ(line_rest, "");
}

TEST(ProtocolTokenizer, SplitRestCountsEveryWord) {
  start_line("level 40 5 0");
  split_rest();
  ASSERT_EQ(word_count, 4);
  EXPECT_STREQ(words[1], "40");
  EXPECT_STREQ(words[2], "5");
  EXPECT_STREQ(words[3], "0");

  start_line("time");
  split_rest();
  EXPECT_EQ(word_count, 1);
}

TEST(ProtocolTokenizer, OnlyASingleSpaceSeparates) {
  start_line("level 40  5 0");  // two spaces: an empty word between them
  split_rest();
  ASSERT_EQ(word_count, 5);
  EXPECT_STREQ(words[2], "");
  EXPECT_STREQ(words[3], "5");

  start_line("time ");  // a trailing space: a final empty word
  split_rest();
  ASSERT_EQ(word_count, 2);
  EXPECT_STREQ(words[1], "");

  start_line("a\tb c\r");  // tabs and carriage returns belong to words
  split_rest();
  ASSERT_EQ(word_count, 2);
  EXPECT_STREQ(words[0], "a\tb");
  EXPECT_STREQ(words[1], "c\r");
}

TEST(ProtocolTokenizer, WordsBeyondTheTenthAreCountedNotStored) {
  // Writing past `words` would show under AddressSanitizer.
  start_line("w0 w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 w11");
  split_rest();
  EXPECT_EQ(word_count, 12);
  EXPECT_STREQ(words[0], "w0");
  EXPECT_STREQ(words[max_words - 1], "w9");
}

// One reader of numbers for both protocols: leading numbers as the standard
// conversion reads them, whole words strictly, everything saturating.
TEST(ProtocolTokenizer, NumbersReadAlikeEverywhere) {
  EXPECT_EQ(leading_integer("7"), 7);
  EXPECT_EQ(leading_integer("3x"), 3);
  EXPECT_EQ(leading_integer(" 12"), 12);
  EXPECT_EQ(leading_integer("-5"), -5);
  EXPECT_EQ(leading_integer("+4"), 4);
  EXPECT_EQ(leading_integer("x3"), 0);
  EXPECT_EQ(leading_integer(""), 0);
  EXPECT_EQ(leading_integer("-"), 0);
  EXPECT_EQ(leading_integer("99999999999999999999"), number_limit);
  EXPECT_EQ(clamp_to_int32(leading_integer("-99999999999999999999")),
            std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(leading_seconds_ms("0.25 rest"), 250);
  EXPECT_EQ(whole_number("-12"), -12);
  EXPECT_EQ(count_word("64"), 64);
  EXPECT_EQ(seconds_word("1.255"), 1255);
  for (const char* bad : {"", "3x", " 3", "-", "1.5"}) EXPECT_FALSE(whole_number(bad)) << bad;
  for (const char* bad : {"-1", "+1", "1e3"}) EXPECT_FALSE(count_word(bad)) << bad;
  for (const char* bad : {".", "-0.5", "2s", "1.2.3"}) EXPECT_FALSE(seconds_word(bad)) << bad;
}

TEST(ProtocolTokenizer, ReadLineTakesWholeLines) {
  std::istringstream in("usermove e2e4\n\nlast without newline");
  std::string line;
  EXPECT_EQ(read_line(in, line), line_status::complete);
  EXPECT_EQ(line, "usermove e2e4");
  EXPECT_EQ(read_line(in, line), line_status::complete);
  EXPECT_EQ(line, "");
  EXPECT_EQ(read_line(in, line), line_status::complete);
  EXPECT_EQ(line, "last without newline");
  EXPECT_EQ(read_line(in, line), line_status::end_of_input);
  EXPECT_EQ(read_line(in, line), line_status::end_of_input);
}

TEST(ProtocolTokenizer, ReadLineRefusesOverlongLinesWhole) {
  std::string longest(max_line_length, 'a');
  std::string too_long(max_line_length + 1, 'b');
  std::istringstream in(longest + "\n" + too_long + "\nnext\n" + too_long);
  std::string line;
  EXPECT_EQ(read_line(in, line), line_status::complete);
  EXPECT_EQ(line, longest);
  EXPECT_EQ(read_line(in, line), line_status::too_long);
  EXPECT_EQ(read_line(in, line), line_status::complete);
  EXPECT_EQ(line, "next");
  EXPECT_EQ(read_line(in, line), line_status::too_long);
  EXPECT_EQ(read_line(in, line), line_status::end_of_input);
}

}  // namespace
}  // namespace marlek
