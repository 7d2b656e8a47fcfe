// The engine binary under a long random mixture of good and bad commands.
// After every burst it must answer a ping, still run and have written
// nothing to standard error; at the end `quit` must end it with status 0.
//
// MARLEK_STRESS_SECONDS sets how long it runs, MARLEK_STRESS_SEED which
// lines it sends. A failure names the seed, shows the last burst and the
// engine's last lines, and writes every line sent to
// protocol_stress_input.txt in the build directory, which can be fed to the
// engine as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/line_limit.h"
#include "engine_checks.h"
#include "stress_lines.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define MARLEK_STRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define MARLEK_STRESS_SANITIZED 1
#endif
#endif

namespace marlek {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using std::chrono::steady_clock;
using test::is_integer;
using test::is_thinking_line;

constexpr std::uint64_t default_seed = 20070707;
#ifdef MARLEK_STRESS_SANITIZED
// Sanitized engines run several times slower; the run is kept short in CI.
constexpr int default_seconds = 10;
constexpr milliseconds pong_wait = 20s;
#else
constexpr int default_seconds = 30;
// A ping sent while the engine is on move is answered after its move, which
// a clock of a few seconds keeps short.
constexpr milliseconds pong_wait = 10s;
#endif
constexpr int shortest_burst = 20;
constexpr int longest_burst = 60;
// Now and then the test pauses, so that searches get going.
constexpr int pause_one_in = 20;
constexpr int game_burst_one_in = 3;
constexpr int game_pause_one_in = 5;
constexpr int longest_pause_ms = 300;
// The test's own pings count up from here, above every number a burst uses.
constexpr std::int32_t first_burst_ping = 1000000;
constexpr std::size_t output_kept = 40;
constexpr const char* input_file = MARLEK_BUILD_DIR "/protocol_stress_input.txt";

struct stress_settings {
  std::uint64_t seed = default_seed;
  int seconds = default_seconds;
};

stress_settings read_settings() {
  stress_settings settings;
  if (const char* seed = std::getenv("MARLEK_STRESS_SEED"))
    settings.seed = std::strtoull(seed, nullptr, 10);
  if (const char* seconds = std::getenv("MARLEK_STRESS_SECONDS"))
    settings.seconds = std::max(1, std::atoi(seconds));
  return settings;
}

bool is_move_text(std::string_view text) {
  if (text.size() != 4 && text.size() != 5) return false;
  for (int i : {0, 2})
    if (text[i] < 'a' || text[i] > 'h' || text[i + 1] < '1' || text[i + 1] > '8') return false;
  return text.size() == 4 || std::string_view("qrbn").find(text[4]) != std::string_view::npos;
}

// Every line the engine may write in answer to any mixture of commands.
// Anything else (a malformed-message report, a garbled line) is a fault.
bool is_expected_output(std::string_view line) {
  static const std::vector<std::string_view> whole_lines = {
      "1-0 {White mates}",
      "0-1 {Black mates}",
      "1/2-1/2 {Stalemate}",
      "1/2-1/2 {Draw by repetition}",
      "1/2-1/2 {50 move rule}",
      "Error: Not your move.",
      "Error: undo not legal when it's Marlek's turn.",
      "Error: no move to undo.",
      "Error: malformed ping command.",
      "Error: level command format.",
      "Error: Improper time format.",
      "Error: Improper otim format.",
      "",  // the end of the book moves
  };
  // An illegal move is named by the text the GUI sent, whatever it was.
  static const std::vector<std::string_view> prefixes = {
      "Unrecognized command ",
      "root::SetBoard: ", "root::Setboard: ", "Error: command line longer than ",
      "Illegal move: ", "Error (illegal position: ", "Hint: ", "stat01: ", " ",
      // A mangled limit or setting is refused by name.
      "Error: st needs ", "Error: sd needs ", "Error: depth needs ", "Error: nps needs ",
      "Error: memory needs ",
      "Error (bad value): ", "Error (unknown option): ", "Error (bad time control): level ",
      "Error (no time at all): level "};
  if (std::find(whole_lines.begin(), whole_lines.end(), line) != whole_lines.end()) return true;
  for (std::string_view prefix : prefixes)
    if (line.starts_with(prefix)) return true;
  if (line.starts_with("move ")) return is_move_text(line.substr(5));
  if (line.starts_with("pong ")) return is_integer(line.substr(5)) && line != "pong 0";
  return is_thinking_line(line);
}

// Shows control characters and other bytes as escapes, so a burst can be
// read and typed again.
std::string escaped(std::string_view text) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (byte >= 0x20 && byte < 0x7f) {
      out += c;
    } else {
      out += "\\x";
      out += digits[byte >> 4];
      out += digits[byte & 15];
    }
  }
  return out;
}

class stress_run {
 public:
  explicit stress_run(const stress_settings& chosen) : settings(chosen), lines(chosen.seed) {}

  // Runs bursts until the time is up; false after the first failure.
  bool run() {
    if (!engine.wait_ready()) return fail("the engine did not start");
    const auto until = steady_clock::now() + std::chrono::seconds(settings.seconds);
    while (steady_clock::now() < until)
      if (!burst()) return false;
    return true;
  }

  bool quit() {
    burst_lines.clear();
    if (!send("quit")) return false;
    const auto end = engine.wait_for_exit(pong_wait);
    while (auto line = engine.read_line(0ms))
      if (!take(*line)) return false;
    if (!end) return fail("the engine did not end after quit");
    if (!end->exited || end->code != 0)
      return fail("quit ended the engine with status " + std::to_string(end->code) + ", signal " +
                  std::to_string(end->signal));
    if (!engine.error_output().empty()) return fail("the engine wrote to standard error");
    return true;
  }

  std::string summary() const {
    std::ostringstream out;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(steady_clock::now() - started).count();
    out << "protocol stress: seed " << settings.seed << ", " << bursts << " bursts, " << sent
        << " lines in " << seconds << " s; the engine moved " << moves << " times, ended "
        << results << " games and wrote " << thinking << " thinking lines";
    return out.str();
  }

 private:
  // One burst in game_burst_one_in mostly plays a game, with more pauses so
  // that the engine thinks and moves; the others send anything at all.
  bool burst() {
    burst_lines.clear();
    ++bursts;
    const bool game = lines.one_in(game_burst_one_in);
    for (int count = lines.number(shortest_burst, longest_burst); count > 0; --count) {
      if (!send(game ? lines.next_in_game() : lines.next()) || !drain()) return false;
      if (lines.one_in(game ? game_pause_one_in : pause_one_in)) {
        std::this_thread::sleep_for(milliseconds(lines.number(1, longest_pause_ms)));
        if (!drain()) return false;
      }
    }
    // A clock line of this burst may have granted a long think: stop it
    // before asking, and give both sides short clocks again.
    if (lines.clock_unsettled()) {
      if (!send("force")) return false;
      for (const std::string& line : lines.settle_clock())
        if (!send(line)) return false;
    }
    return answered(first_burst_ping + bursts);
  }

  // Sends a ping and waits for its pong; then the engine must still run and
  // have written nothing to standard error.
  bool answered(std::int32_t number) {
    const std::string pong = "pong " + std::to_string(number);
    if (!send("ping " + std::to_string(number))) return false;
    const auto until = steady_clock::now() + pong_wait;
    for (;;) {
      const auto left = std::chrono::duration_cast<milliseconds>(until - steady_clock::now());
      auto line = engine.read_line(std::max(left, 0ms));
      if (!line)
        return fail("no \"" + pong + "\" within " + std::to_string(pong_wait.count()) + " ms");
      if (!take(*line)) return false;
      if (*line == pong) break;
    }
    if (engine.wait_for_exit(0ms)) return fail("the engine ended after its pong");
    if (!engine.error_output().empty()) return fail("the engine wrote to standard error");
    return true;
  }

  bool send(const std::string& line) {
    if (line.find('\n') != std::string::npos) return fail("generated a line with a newline");
    burst_lines.push_back(line);
    sent_lines += line + '\n';
    ++sent;
    if (!engine.send(line)) return fail("the engine stopped reading");
    return true;
  }

  // Reads what the engine has written so far, so that neither pipe fills.
  bool drain() {
    for (const std::string& line : engine.read_lines_for(1ms))
      if (!take(line)) return false;
    return true;
  }

  bool take(const std::string& line) {
    output.push_back(line);
    if (output.size() > output_kept) output.pop_front();
    if (!is_expected_output(line)) return fail("unexpected output line: " + escaped(line));
    moves += line.starts_with("move ");
    results += line.starts_with("1-0 ") || line.starts_with("0-1 ") || line.starts_with("1/2-1/2 ");
    thinking += is_thinking_line(line);
    if (line.starts_with("pong ") && std::atoi(line.c_str() + 5) >= first_burst_ping &&
        line != "pong " + std::to_string(first_burst_ping + bursts))
      return fail("a pong for a ping not pending: " + line);
    return true;
  }

  bool fail(const std::string& what) {
    std::ofstream(input_file, std::ios::binary) << sent_lines;
    std::ostringstream report;
    report << what << "\n"
           << summary() << " so far; MARLEK_STRESS_SEED=" << settings.seed
           << " sends the same lines again, and " << input_file << " holds every line sent.\n"
           << "Last burst:\n";
    for (const std::string& line : burst_lines) report << "  > " << escaped(line) << "\n";
    report << "Last output:\n";
    for (const std::string& line : output) report << "  < " << escaped(line) << "\n";
    report << "Standard error:\n" << engine.error_output();
    ADD_FAILURE() << report.str();
    return false;
  }

  stress_settings settings;
  steady_clock::time_point started = steady_clock::now();
  test::stress_lines lines;
  test::engine_process engine;
  std::vector<std::string> burst_lines;
  std::deque<std::string> output;
  std::string sent_lines;
  int bursts = 0;
  long sent = 0;
  long moves = 0, results = 0, thinking = 0;
};

TEST(ProtocolStress, RandomCommandBurstsNeverBreakTheEngine) {
  stress_run stress(read_settings());
  // Each check reports its own failure, with the seed and the last burst.
  EXPECT_TRUE(stress.run() && stress.quit());
  std::cout << stress.summary() << std::endl;
}

// The generator itself: lines the test must never send in a burst.
TEST(ProtocolStress, BurstLinesNeverEndTheEngineOrHoldANewline) {
  test::stress_lines lines(default_seed);
  bool long_line = false, nul = false, bad_clock = false;
  for (int i = 0; i < 20000; ++i) {
    const std::string line = lines.next();
    ASSERT_EQ(line.find('\n'), std::string::npos) << escaped(line);
    const std::string word = test::command_word(line);
    ASSERT_NE(word, "quit");
    long_line |= line.size() > max_line_length;
    nul |= line.find('\0') != std::string::npos;
    bad_clock |= lines.clock_unsettled();
  }
  // The mixture reaches the lines the engine must survive.
  EXPECT_TRUE(long_line);
  EXPECT_TRUE(nul);
  EXPECT_TRUE(bad_clock);
  lines.settle_clock();
  EXPECT_FALSE(lines.clock_unsettled());
}

TEST(ProtocolStress, CommandWordEndsAtSpaceOrNul) {
  EXPECT_EQ(test::command_word("quit"), "quit");
  EXPECT_EQ(test::command_word("quit now"), "quit");
  EXPECT_EQ(test::command_word(std::string("quit\0x y", 8)), "quit");
  EXPECT_EQ(test::command_word("quit\r"), "quit\r");
  EXPECT_EQ(test::command_word(""), "");
}

}  // namespace
}  // namespace marlek
