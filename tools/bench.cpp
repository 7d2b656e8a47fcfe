// bench [DEPTH]
// Searches the bench positions to DEPTH plies (default: the bench's own
// depth), each freshly set up, and prints one line per position and last
//   signature N nodes T ms nps R
// where the signature N is the total node count: the same on every run.
// The engine's `marlek bench` runs the same code (game/bench_command.h).
#include <cstdio>

#include "board/keys.h"
#include "game/bench.h"
#include "game/bench_command.h"

using namespace marlek;

int main(int argc, char** argv) {
  const std::optional<int> depth = argc > 1 ? read_bench_depth(argv[1]) : default_bench_depth;
  if (!depth || argc > 2) {
    std::printf("usage: bench [DEPTH], DEPTH from 0 to %d\n", deepest_bench_depth);
    return 2;
  }
  find_and_load_keys();
  run_timed_bench(*depth);
  return 0;
}
