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

// A GUI may reject any feature: the engine takes note, says nothing and
// goes on answering.
TEST(ProtocolProcess, RejectedFeaturesLeaveTheEngineAnswering) {
  test::engine_process engine;
  ASSERT_TRUE(engine.wait_ready());
  for (const char* line :
       {"xboard", "protover 2", "rejected myname", "rejected usermove", "rejected ping",
        "rejected setboard", "rejected colors", "rejected playother", "rejected analyze",
        "rejected variants", "rejected option nonsense", "rejected", "accepted done", "ping 8"})
    ASSERT_TRUE(engine.send(line));
  EXPECT_EQ(engine.read_until("pong 8"), lines{});
  quit_cleanly(engine);
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

// The lines an engine started in `folder` gives for its book moves at the
// start of a game, after the lines before "feature done=1".
struct book_start {
  lines startup;
  lines book_moves;
};

book_start read_book_start(const std::string& binary, const std::string& folder) {
  test::engine_process engine(binary, folder);
  book_start seen;
  seen.startup = engine.read_until("feature done=1").value_or(lines{"no feature done=1"});
  for (const char* line : {"xboard", "protover 2", "new", "bk", "ping 1"})
    EXPECT_TRUE(engine.send(line));
  seen.book_moves = engine.read_until("pong 1").value_or(lines{"no pong"});
  quit_cleanly(engine);
  return seen;
}

// With no data file anywhere on disk, as when a binary is moved alone into
// an empty folder, the engine takes the copies built into it: it starts
// without a word of error and has the book of the engine beside its files.
TEST(ProtocolProcess, MissingDataFilesAreReplacedByTheBuiltInCopies) {
  if (test::key_file_installed()) GTEST_SKIP() << "a key file is installed on this machine";
  const test::temp_folder folder;
  const book_start lone = read_book_start(test::lone_engine_copy(folder), folder.path().string());
  EXPECT_EQ(lone.startup, startup_lines);
  const book_start beside_its_files = read_book_start(MARLEK_BINARY, MARLEK_BUILD_DIR);
  EXPECT_GT(beside_its_files.book_moves.size(), 1u);
  EXPECT_EQ(lone.book_moves, beside_its_files.book_moves);
}

}  // namespace
}  // namespace marlek
