#include "game/bench_command.h"

#include <charconv>
#include <chrono>
#include <string>

#include "base/output.h"
#include "board/keys.h"
#include "game/bench.h"

namespace marlek {

namespace {

// The exit status of a command line the engine cannot run.
constexpr int usage_status = 2;

void report(std::size_t index, const bench_result& result) {
  output_line("position " + std::to_string(index + 1) + " nodes " + std::to_string(result.nodes) +
              " best " + to_text(result.best));
}

}  // namespace

std::optional<int> read_bench_depth(std::string_view text) {
  int depth = 0;
  const char* end = text.data() + text.size();
  // from_chars takes a leading '-', which no depth has.
  if (text.empty() || text.front() == '-') return std::nullopt;
  const auto [stop, error] = std::from_chars(text.data(), end, depth);
  if (error != std::errc() || stop != end || depth > deepest_bench_depth) return std::nullopt;
  return depth;
}

timed_bench run_timed_bench(int depth) {
  const auto start = std::chrono::steady_clock::now();
  timed_bench run;
  run.signature = bench_signature(run_bench(depth, report));
  run.millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start)
                   .count();
  // A run too short to time counts as a millisecond.
  run.nodes_per_second =
      run.signature * 1000 / static_cast<std::uint64_t>(run.millis > 0 ? run.millis : 1);
  output_line("signature " + std::to_string(run.signature) + " nodes " +
              std::to_string(run.millis) + " ms nps " + std::to_string(run.nodes_per_second));
  return run;
}

bool is_bench_command(int argc, char* argv[]) {
  return argc > 1 && std::string_view(argv[1]) == "bench";
}

int run_bench_command(int argc, char* argv[]) {
  if (argc > 3) {
    output_line("Usage: marlek bench [DEPTH]");
    return usage_status;
  }
  int depth = default_bench_depth;
  if (argc == 3) {
    const std::optional<int> given = read_bench_depth(argv[2]);
    if (!given) {
      output_line("Invalid bench depth \"" + std::string(argv[2]) +
                  "\": DEPTH is a whole number from 0 to " + std::to_string(deepest_bench_depth));
      return usage_status;
    }
    depth = *given;
  }
  find_and_load_keys();
  const timed_bench run = run_timed_bench(depth);
  output_line(std::to_string(run.signature) + " nodes " + std::to_string(run.nodes_per_second) +
              " nps");
  return 0;
}

}  // namespace marlek
