// The engine binary over pipes, as a GUI drives it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/line_limit.h"
#include "engine_checks.h"
#include "temp_folder.h"

namespace marlek {
namespace {

using namespace std::chrono_literals;
using lines = std::vector<std::string>;

using test::quit_cleanly;
using test::startup_lines;

TEST(ProtocolProcess, StartupBytesAreExact) {
  test::engine_process engine;
  // Sent before the engine is ready: read and run after "feature done=1".
  ASSERT_TRUE(engine.send("Force"));
  auto before = engine.read_until("feature done=1");
  ASSERT_TRUE(before.has_value());
  EXPECT_EQ(*before, startup_lines);
  EXPECT_EQ(engine.read_line(), "Unrecognized command Force");
  quit_cleanly(engine);
}

TEST(ProtocolProcess, UnknownWordsAreReportedAndIgnoredWordsAreSilent) {
  test::engine_process engine;
  ASSERT_TRUE(engine.wait_ready());
  for (const char* line :
       {"xboard", "protover 2", "accepted usermove", "Force", "setscore 10 3", "pause", ".", "",
        "result 1-0 {White mates}", "post", "hard", "easy", "nopost", "Marker"})
    ASSERT_TRUE(engine.send(line));
  EXPECT_EQ(engine.read_until("Unrecognized command Marker"),
            (lines{"Unrecognized command Force", "Unrecognized command setscore",
                   "Unrecognized command pause", "Unrecognized command "}));
  quit_cleanly(engine);
}

TEST(ProtocolProcess, QuitEndsWithStatusZeroAndNothingMore) {
  test::engine_process engine;
  ASSERT_TRUE(engine.wait_ready());
  quit_cleanly(engine);
  EXPECT_EQ(engine.read_line(1s), std::nullopt);
}

TEST(ProtocolProcess, EndOfInputEndsWithStatusZero) {
  test::engine_process engine;
  ASSERT_TRUE(engine.wait_ready());
  engine.close_input();
  auto end = engine.wait_for_exit();
  ASSERT_TRUE(end.has_value());
  EXPECT_TRUE(end->exited);
  EXPECT_EQ(end->code, 0);
  EXPECT_EQ(engine.error_output(), "");
}

TEST(ProtocolProcess, RejectedFeatureAborts) {
  test::engine_process engine;
  ASSERT_TRUE(engine.wait_ready());
  ASSERT_TRUE(engine.send("rejected setboard"));
  EXPECT_EQ(engine.read_line(), "Error: Winboard has rejected required feature: setboard");
  auto end = engine.wait_for_exit();
  ASSERT_TRUE(end.has_value());
  EXPECT_TRUE(end->aborted()) << end->code << " " << end->signal;
}

TEST(ProtocolProcess, OverlongLineIsRefusedAndTheNextLineWorks) {
  test::engine_process engine;
  ASSERT_TRUE(engine.wait_ready());
  std::string longest(max_line_length, 'q');
  ASSERT_TRUE(engine.send(longest));
  ASSERT_TRUE(engine.send(std::string(3 * max_line_length, 'r')));
  ASSERT_TRUE(engine.send("Force"));
  EXPECT_EQ(engine.read_line(), "Unrecognized command " + longest);
  auto refusal = engine.read_line();
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->rfind("Error", 0), 0u) << *refusal;
  EXPECT_EQ(engine.read_line(), "Unrecognized command Force");
  quit_cleanly(engine);
}

#ifndef _WIN32
// Windows sends no signal to one process: its Ctrl-C goes to a whole
// console, and a GUI's engine has none.
TEST(ProtocolProcess, InterruptIsIgnored) {
  test::engine_process engine;
  ASSERT_TRUE(engine.wait_ready());
  ASSERT_EQ(kill(engine.pid(), SIGINT), 0);
  ASSERT_TRUE(engine.send("Force"));
  EXPECT_EQ(engine.read_line(), "Unrecognized command Force");
  quit_cleanly(engine);
}
#endif

TEST(ProtocolProcess, MissingKeyFileAborts) {
  if (test::key_file_installed()) GTEST_SKIP() << "a key file is installed on this machine";
  const test::temp_folder folder;
  test::engine_process engine(test::lone_engine_copy(folder), folder.path().string());
  auto out = engine.read_until("Error opening marlekkeys.bin");
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(*out, startup_lines);
  auto end = engine.wait_for_exit();
  ASSERT_TRUE(end.has_value());
  EXPECT_TRUE(end->aborted()) << end->code << " " << end->signal;
}

}  // namespace
}  // namespace marlek
