// The command table and the dispatcher, run in-process.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/flags.h"
#include "base/line_limit.h"
#include "game/root.h"
#include "output_capture.h"
#include "xboard/command_table.h"
#include "xboard/dispatcher.h"
#include "xboard/negotiation.h"

namespace marlek {
namespace {

using lines = std::vector<std::string>;

lines run(std::initializer_list<std::string> input) {
  test::output_capture capture;
  for (const std::string& line : input) dispatch_text(line);
  return capture.lines();
}

TEST(ProtocolCommands, TableHoldsExactlyTheProtocolWords) {
  std::vector<std::string> known;
  for (const auto& [word, handler] : command_table()) {
    known.push_back(word);
    EXPECT_NE(handler, nullptr) << word;
  }
  EXPECT_EQ(known,
            (std::vector<std::string>{
                ".",        "?",         "accepted", "analyze",  "bk",       "black",   "computer",
                "cores",    "depth",     "draw",     "easy",     "edit",     "exclude", "exit",
                "force",    "go",        "hard",     "hint",     "ics",      "include", "level",
                "memory",   "name",      "new",      "nopost",   "nps",      "option",  "otim",
                "ping",     "playother", "post",     "protover", "quit",     "random",  "rating",
                "rejected", "remove",    "result",   "sd",       "setboard", "st",      "time",
                "undo",     "usermove",  "variant",  "white",    "xboard"}));
}

TEST(ProtocolCommands, UnknownWordsAreReported) {
  EXPECT_EQ(run({"Force", "setscore 10 3", "pause", "", "Hint", " go"}),
            (lines{"Unrecognized command Force", "Unrecognized command setscore",
                   "Unrecognized command pause", "Unrecognized command ",
                   "Unrecognized command Hint", "Unrecognized command "}));
}

TEST(ProtocolCommands, IgnoredWordsAreSilent) {
  EXPECT_TRUE(run({"xboard", "protover 2", "accepted usermove", "result 1-0 {White mates}", "ics",
                   "name Some Opponent", "random"})
                  .empty());
}

TEST(ProtocolCommands, NegotiationIsNotedSilently) {
  EXPECT_TRUE(run({"protover 2", "accepted usermove", "rejected setboard", "rejected usermove",
                   "rejected option nonsense", "accepted done"})
                  .empty());
  const negotiated_protocol& record = negotiation();
  EXPECT_EQ(record.version, 2);
  EXPECT_FALSE(record.usermove);
  EXPECT_FALSE(record.setboard);
  EXPECT_EQ(record.rejected,
            (std::set<std::string, std::less<>>{"option", "setboard", "usermove"}));
}

TEST(ProtocolCommands, FlagWordsSetTheSharedFlags) {
  EXPECT_TRUE(run({"nopost", "hard"}).empty());
  EXPECT_FALSE(post_thinking.load());
  EXPECT_TRUE(ponder_enabled.load());
  EXPECT_TRUE(run({"post", "easy"}).empty());
  EXPECT_TRUE(post_thinking.load());
  EXPECT_FALSE(ponder_enabled.load());
}

// The game commands start the real engine thread, which keeps its own
// position. What it makes of a line shows in its answer: once it has
// answered a ping, it has handled every earlier command.
lines engine_answers(std::initializer_list<std::string> input) {
  constexpr std::chrono::seconds wait{10};
  test::output_capture capture;
  for (const std::string& line : input) dispatch_text(line);
  dispatch_text("ping 77");
  EXPECT_TRUE(capture.wait_for_line("pong 77", wait));
  return capture.lines();
}

TEST(ProtocolCommands, NewSetsAndSetboardClearsTheBook) {
  use_book.store(false);
  EXPECT_TRUE(run({"new"}).empty());
  EXPECT_TRUE(use_book.load());
  EXPECT_TRUE(run({std::string("setboard ") + start_position_fen}).empty());
  EXPECT_FALSE(use_book.load());
  run({"new"});
  EXPECT_TRUE(use_book.load());
  // The start position, as `new` set it up: White's first move is taken.
  EXPECT_EQ(engine_answers({"force", "usermove e2e4"}), lines{"pong 77"});
}

TEST(ProtocolCommands, PingWithoutANumberIsMalformed) {
  EXPECT_EQ(run({"ping 0", "ping", "ping x"}),
            (lines{"Error: malformed ping command.", "Error: malformed ping command.",
                   "Error: malformed ping command."}));
}

TEST(ProtocolCommands, LongestLineIsReadWholeAndLongerRefused) {
  std::string word(max_line_length, 'z');
  lines out = run({word, word + "z", "Force"});
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0], "Unrecognized command " + word);
  EXPECT_EQ(out[1].rfind("Error", 0), 0u) << out[1];
  EXPECT_EQ(out[2], "Unrecognized command Force");
}

}  // namespace
}  // namespace marlek
