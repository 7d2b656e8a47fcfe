// bench [DEPTH]
// Searches the bench positions to DEPTH plies (default: the bench's own
// depth), each freshly set up, and prints one line per position and last
//   signature N nodes T ms nps R
// where the signature N is the total node count: the same on every run.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "board/keys.h"
#include "game/bench.h"

using namespace marlek;

namespace {
constexpr int deepest_bench = 100;

void report(std::size_t index, const bench_result& r) {
  std::printf("position %zu nodes %llu best %s\n", index + 1,
              static_cast<unsigned long long>(r.nodes), to_text(r.best).c_str());
  std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
  const int depth = argc > 1 ? std::atoi(argv[1]) : default_bench_depth;
  if (depth < 0 || depth > deepest_bench) {
    std::printf("usage: bench [DEPTH], DEPTH from 0 to %d\n", deepest_bench);
    return 2;
  }
  find_and_load_keys();
  const auto start = std::chrono::steady_clock::now();
  const std::uint64_t total = bench_signature(run_bench(depth, report));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  const unsigned long long nps =
      ms > 0 ? total * 1000ull / static_cast<unsigned long long>(ms) : total * 1000ull;
  std::printf("signature %llu nodes %lld ms nps %llu\n", static_cast<unsigned long long>(total),
              static_cast<long long>(ms), nps);
  return 0;
}
