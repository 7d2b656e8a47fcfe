// The UCI front end and the real engine thread behind it, on arbitrary
// lines. The input is cut into lines at line feeds and each runs as the
// session runs it, while the engine thread takes the messages, sets games
// up and searches. At the end of the input a `stop` and an `isready`
// follow, and once the engine has answered, what it wrote is held against
// what UCI promises:
//   - every line is a UCI line: "id", "option name", "uciok", "readyok",
//     "bestmove", or an "info" line;
//   - every `go` got exactly one "bestmove", with a move in coordinate
//     notation or 0000, and every `isready` one "readyok", the last after
//     every "bestmove".
// The position itself is the engine thread's own; the board's fuzz targets
// check its soundness.
// A search runs on the engine thread as it would in play, so each input
// costs as much as its searches do; `quit` would end the process and is
// left out.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "base/output.h"
#include "board/move.h"
#include "engine/timer.h"
#include "fuzz_support.h"
#include "uci/uci_parser.h"
#include "uci/uci_session.h"

namespace {

using namespace marlek;

// The engine's output, whole lines, from whichever thread writes them.
class line_sink : public std::streambuf {
 public:
  // Waits until `count` lines "readyok" have come in all; false when they
  // do not come within a generous time.
  bool wait_for_readyok(std::size_t count) {
    std::unique_lock<std::mutex> hold(lock);
    return arrived.wait_for(hold, std::chrono::seconds(20), [&] { return readies >= count; });
  }

  std::vector<std::string> take_lines() {
    std::lock_guard<std::mutex> hold(lock);
    readies = 0;
    return std::exchange(lines, {});
  }

 protected:
  int overflow(int c) override {
    if (c != traits_type::eof()) put(static_cast<char>(c));
    return c;
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    for (std::streamsize i = 0; i < count; ++i) put(text[i]);
    return count;
  }

 private:
  void put(char c) {
    std::lock_guard<std::mutex> hold(lock);
    if (c != '\n') {
      partial += c;
      return;
    }
    readies += partial == "readyok";
    lines.push_back(std::exchange(partial, {}));
    arrived.notify_all();
  }

  std::mutex lock;
  std::condition_variable arrived;
  std::string partial;
  std::vector<std::string> lines;
  std::size_t readies = 0;
};

line_sink sink;
std::ostream engine_words(&sink);

bool is_uci_line(const std::string& line) {
  return line == "uciok" || line == "readyok" || line.starts_with("id ") ||
         line.starts_with("option name ") || line.starts_with("info ") ||
         line.starts_with("bestmove ");
}

// "bestmove MOVE [ponder MOVE]", the move readable or 0000.
bool is_best_move_line(const std::string& line) {
  const auto words = uci_words(line);
  const auto is_move = [](std::string_view w) { return w == "0000" || is_move_text(w); };
  return (words.size() == 2 || (words.size() == 4 && words[2] == "ponder" && is_move(words[3]))) &&
         is_move(words[1]);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::initialize();
  set_output_stream(&engine_words);
  speak_uci();
  static mt_timer timer(std::chrono::milliseconds(0));
  run_uci_line("uci");
  run_uci_line("isready");
  FUZZ_REQUIRE(sink.wait_for_readyok(1));
  sink.take_lines();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t searches = 0, questions = 1;
  fuzz::for_each_line(data, size, [&](std::string_view line) {
    const auto words = uci_words(line);
    if (!words.empty() && words[0] == "quit") return;  // ends the process by design
    searches += !words.empty() && words[0] == "go";
    questions += !words.empty() && words[0] == "isready";
    run_uci_line(line);
  });
  run_uci_line("stop");
  run_uci_line("isready");
  FUZZ_REQUIRE(sink.wait_for_readyok(questions));
  const std::vector<std::string> out = sink.take_lines();
  std::size_t best_moves = 0;
  for (const std::string& line : out) {
    FUZZ_REQUIRE(is_uci_line(line));
    if (line.starts_with("bestmove ")) {
      FUZZ_REQUIRE(is_best_move_line(line));
      ++best_moves;
    }
  }
  FUZZ_REQUIRE(best_moves == searches);
  FUZZ_REQUIRE(out.back() == "readyok");
  return 0;
}
