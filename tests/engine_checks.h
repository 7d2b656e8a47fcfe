#pragma once
// Checks shared by the tests that drive the engine binary.
#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engine_process.h"

namespace marlek::test {

// Every line the engine writes before "feature done=1" when its key file
// and its book load without a fault.
inline const std::vector<std::string> startup_lines = {
    "",
    "feature done=0",
    "feature myname=\"Marlek 4.4.6\"",
    "feature usermove=1 ping=1 setboard=1 colors=0",
    "feature playother=1 analyze=1",
    "feature variants=\"normal\"",
    "feature variants=\"normal,fischerandom\"",
    "feature exclude=1",
    "feature memory=1 nps=1",
    "feature smp=1",
    "feature option=\"OwnBook -check 1\"",
    "feature option=\"Clear Hash -button\"",
    "feature option=\"Move Overhead -spin 30 0 5000\"",
    "feature option=\"MultiPV -spin 1 1 64\"",
    "feature option=\"UCI_LimitStrength -check 0\"",
    "feature option=\"UCI_Elo -spin 1700 1000 1700\"",
};

// A quiet middlegame with no book move: the engine has to think.
inline const std::string middlegame_fen =
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R1BQ1RK1 w - - 0 9";

// Whether `text` is a whole decimal integer, optionally negative.
inline bool is_integer(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A thinking line: depth, score, centiseconds and nodes, each an integer,
// then the principal variation, all separated by single tabs.
inline bool is_thinking_line(std::string_view line) {
  for (int field = 0; field < 4; ++field) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || !is_integer(line.substr(0, tab))) return false;
    line.remove_prefix(tab + 1);
  }
  return line.find('\t') == std::string_view::npos;
}

// Ends the engine with `quit` and checks the normal end: status 0 and
// nothing on standard error.
inline void quit_cleanly(engine_process& engine) {
  ASSERT_TRUE(engine.send("quit"));
  auto end = engine.wait_for_exit();
  ASSERT_TRUE(end.has_value());
  EXPECT_TRUE(end->exited);
  EXPECT_EQ(end->code, 0);
  EXPECT_EQ(engine.error_output(), "");
}

// A test with one engine process: the commands it sends and the lines it
// reads up to a given one.
class engine_session : public ::testing::Test {
 protected:
  explicit engine_session(const std::vector<std::string>& arguments = {})
      : engine(MARLEK_BINARY, MARLEK_BUILD_DIR, arguments) {}

  void send_all(std::initializer_list<std::string> commands) {
    for (const std::string& command : commands) ASSERT_TRUE(engine.send(command));
  }

  // Lines up to and including the first that starts with `prefix`, within
  // `wait`.
  std::vector<std::string> read_through(const std::string& prefix,
                                        std::chrono::milliseconds wait = std::chrono::seconds(20)) {
    std::vector<std::string> seen;
    const auto until = std::chrono::steady_clock::now() + wait;
    while (auto line = engine.read_line(std::chrono::duration_cast<std::chrono::milliseconds>(
               until - std::chrono::steady_clock::now()))) {
      seen.push_back(*line);
      if (line->starts_with(prefix)) return seen;
    }
    ADD_FAILURE() << "no line starting with \"" << prefix << "\"";
    return seen;
  }

  engine_process engine;
};

}  // namespace marlek::test
