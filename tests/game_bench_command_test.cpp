// `marlek bench [DEPTH]`, as a testing framework runs it on a fresh build:
// the engine binary alone in an empty folder, so on its built-in keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_process.h"
#include "game/bench.h"
#include "game/bench_command.h"
#include "temp_folder.h"

namespace marlek {
namespace {

using lines = std::vector<std::string>;

// Shallow: the test is about what the command prints, not about the search.
constexpr int command_depth = 2;

// Every line the engine writes until its output ends, and its exit status.
struct command_run {
  lines output;
  int status = -1;
};

command_run run_engine(const std::vector<std::string>& arguments) {
  const test::temp_folder folder;
  test::engine_process engine(test::lone_engine_copy(folder), folder.path().string(), arguments);
  command_run run;
  while (auto line = engine.read_line()) run.output.push_back(*line);
  auto end = engine.wait_for_exit();
  EXPECT_TRUE(end.has_value() && end->exited);
  if (end && end->exited) run.status = end->code;
  EXPECT_EQ(engine.error_output(), "");
  return run;
}

TEST(BenchCommand, ReadsWholeDepthsInRangeOnly) {
  EXPECT_EQ(read_bench_depth("0"), 0);
  EXPECT_EQ(read_bench_depth("7"), 7);
  EXPECT_EQ(read_bench_depth("100"), 100);
  for (const char* bad : {"", "-1", "-0", "101", "4x", "x", " 4", "+4", "4.5", "99999999999"})
    EXPECT_EQ(read_bench_depth(bad), std::nullopt) << '"' << bad << '"';
}

TEST(BenchCommand, LoneBinarySearchesTheBenchAndEndsWithNodesAndSpeed) {
  if (test::key_file_installed()) GTEST_SKIP() << "a key file is installed on this machine";
  const command_run run = run_engine({"bench", std::to_string(command_depth)});
  EXPECT_EQ(run.status, 0);

  // The same positions and counts as the library's bench, on the tests' key
  // file: the built-in keys are that file.
  const std::vector<bench_result> expected = run_bench(command_depth);
  ASSERT_EQ(run.output.size(), expected.size() + 2);
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(run.output[i], "position " + std::to_string(i + 1) + " nodes " +
                                 std::to_string(expected[i].nodes) + " best " +
                                 to_text(expected[i].best));
  const std::string signature = std::to_string(bench_signature(expected));
  EXPECT_TRUE(run.output[expected.size()].starts_with("signature " + signature + " nodes "))
      << run.output[expected.size()];

  // The last line: the signature before "nodes", the speed before "nps",
  // and no other number.
  const std::string& last = run.output.back();
  const std::string head = signature + " nodes ";
  ASSERT_TRUE(last.starts_with(head)) << last;
  ASSERT_TRUE(last.ends_with(" nps")) << last;
  const std::string speed = last.substr(head.size(), last.size() - head.size() - 4);
  EXPECT_TRUE(!speed.empty() && speed.find_first_not_of("0123456789") == std::string::npos) << last;
}

TEST(BenchCommand, BadDepthOrExtraArgumentIsRefusedWithStatusTwo) {
  const command_run bad_depth = run_engine({"bench", "deep"});
  EXPECT_EQ(bad_depth.status, 2);
  EXPECT_EQ(bad_depth.output,
            lines{"Invalid bench depth \"deep\": DEPTH is a whole number from 0 to 100"});
  const command_run extra = run_engine({"bench", "2", "3"});
  EXPECT_EQ(extra.status, 2);
  EXPECT_EQ(extra.output, lines{"Usage: marlek bench [DEPTH]"});
}

}  // namespace
}  // namespace marlek
