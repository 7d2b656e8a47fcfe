// The limits and requests a GUI sends besides the clock, through the engine
// binary: st, sd, nps, memory, options, hint, bk and the analysis status.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "engine_checks.h"

namespace marlek {
namespace {

using namespace std::chrono_literals;
using lines = std::vector<std::string>;

const std::string middlegame = "setboard " + test::middlegame_fen;

// The integer fields of a line, split at tabs or spaces.
std::vector<long long> numbers_of(const std::string& line, char separator) {
  std::vector<long long> numbers;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, separator);)
    if (test::is_integer(field)) numbers.push_back(std::stoll(field));
  return numbers;
}

class ProtocolLimits : public test::engine_session {
 protected:
  void SetUp() override { ASSERT_TRUE(engine.wait_ready()); }

  // Every line up to (without) the answer to a fresh ping.
  lines settle() {
    const std::string number = std::to_string(++pings);
    EXPECT_TRUE(engine.send("ping " + number));
    return engine.read_until("pong " + number, 20s).value_or(lines{"no pong"});
  }

  // Milliseconds from `go` to the move line.
  long long timed_move() {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(engine.send("go"));
    read_through("move ");
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
  }

  int pings = 0;
};

TEST_F(ProtocolLimits, FixedTimePerMoveIsMostOfItAndNeverMore) {
  send_all({"nopost", "st 1", middlegame, "force"});
  settle();
  const long long first = timed_move();
  EXPECT_GE(first, 600);
  EXPECT_LE(first, 1000);
  // `new` keeps the time per move.
  send_all({"new", middlegame, "force"});
  settle();
  const long long second = timed_move();
  EXPECT_GE(second, 600);
  EXPECT_LE(second, 1000);
  test::quit_cleanly(engine);
}

// The deepest thinking line among `seen`.
int deepest(const lines& seen) {
  int depth = -1;
  for (const std::string& line : seen)
    if (test::is_thinking_line(line)) depth = std::max(depth, std::stoi(line));
  return depth;
}

TEST_F(ProtocolLimits, DepthCapHoldsInAnalysisAndPlay) {
  send_all({"post", "sd 3", middlegame, "analyze"});
  lines analysis = read_through("3\t");
  for (const std::string& line : settle()) analysis.push_back(line);
  EXPECT_EQ(deepest(analysis), 3);
  // The old name of sd, while playing on a long clock.
  send_all({"exit", "depth 4", "level 0 60 0", "time 360000", "otim 360000", middlegame, "go"});
  EXPECT_EQ(deepest(read_through("move ")), 4);
  test::quit_cleanly(engine);
}

TEST_F(ProtocolLimits, NodeRateCountsNodesForTime) {
  send_all({"post", "st 5", "nps 2000", middlegame, "force"});
  settle();
  const long long took = timed_move();
  EXPECT_LT(took, 3000);  // 10000 nodes, far less than five seconds
  send_all({"computer", "rating 2100 1900", "name Someone", "draw", "cores 2"});
  for (const std::string& line : settle()) {
    if (test::is_thinking_line(line)) {
      EXPECT_LE(numbers_of(line, '\t').at(3), 10000) << line;
    }
  }
  test::quit_cleanly(engine);
}

TEST_F(ProtocolLimits, MemoryAndOptionsAreTakenOrRefusedClearly) {
  send_all({"memory 1", "memory lots", "option OwnBook=2", "option Book=1", "option Clear Hash",
            "st x", "sd 0"});
  EXPECT_EQ(settle(), (lines{"Error: memory needs a size in megabytes.",
                             "Error (bad value): option OwnBook=2", "Error (unknown option): Book",
                             "Error: st needs a time in seconds, such as st 2 or st 0.5.",
                             "Error: sd needs a depth of at least one ply."}));
  // Without its book the engine thinks about its first move, on its new table.
  send_all({"option OwnBook=0", "new", "post", "st 0.5", "go"});
  const lines seen = read_through("move ");
  ASSERT_GE(seen.size(), 2u);
  EXPECT_TRUE(test::is_thinking_line(seen.front())) << seen.front();
  test::quit_cleanly(engine);
}

TEST_F(ProtocolLimits, HintAndBookNameTheMovesOfThePosition) {
  send_all({"new", "bk"});
  const lines book = *engine.read_until("");
  ASSERT_FALSE(book.empty());
  for (const std::string& line : book) EXPECT_TRUE(line.starts_with(' ')) << line;
  ASSERT_TRUE(engine.send("hint"));
  const auto hint = engine.read_line();
  ASSERT_TRUE(hint && hint->starts_with("Hint: ")) << hint.value_or("");
  EXPECT_TRUE(book.front().starts_with(' ' + hint->substr(6) + ' ')) << *hint;

  // After a searched move: the reply the engine expects.
  send_all({"nopost", "st 0.5", middlegame, "go"});
  read_through("move ");
  ASSERT_TRUE(engine.send("hint"));
  const lines answer = settle();
  ASSERT_EQ(answer.size(), 1u);
  EXPECT_TRUE(answer[0].starts_with("Hint: ")) << answer[0];
  test::quit_cleanly(engine);
}

TEST_F(ProtocolLimits, StatusIsAnsweredWhileAnalysing) {
  EXPECT_EQ(settle(), lines{});  // `.` outside analysis: nothing to report
  send_all({"post", middlegame, "analyze"});
  read_through("4\t");
  ASSERT_TRUE(engine.send("."));
  const std::string status = read_through("stat01: ").back();
  const std::vector<long long> fields = numbers_of(status.substr(8), ' ');
  ASSERT_EQ(fields.size(), 5u) << status;  // time, nodes, depth, moves left, moves total
  EXPECT_GE(fields[2], 4) << status;
  EXPECT_LE(fields[3], fields[4]) << status;
  EXPECT_EQ(fields[4], 35) << status;  // the legal moves of the position
  send_all({"exit"});
  test::quit_cleanly(engine);
}

}  // namespace
}  // namespace marlek
