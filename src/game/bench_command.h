#pragma once
// The bench as a program runs it: the engine's own `marlek bench [DEPTH]`,
// which a testing framework runs on each fresh build to check that it
// searches what it should and to measure its speed, and the bench tool
// (tools/bench.cpp). Both search the positions of game/bench.h and print
// the same lines:
//   position I nodes N best MOVE      one per position, as soon as known
//   signature S nodes T ms nps R      S, the total node count, T the time
// The engine's command adds a last line, "S nodes R nps": such a framework
// reads the last line, cleared of everything but letters, digits and
// spaces, and takes the number beside "nodes" as the bench and the one
// beside "nps" as the speed. No other number stands next to either word
// there.
#include <cstdint>
#include <optional>
#include <string_view>

namespace marlek {

// Deeper benches take hours.
inline constexpr int deepest_bench_depth = 100;

// The depth written on a command line: a whole number from 0 to
// deepest_bench_depth, digits only; nullopt for anything else.
std::optional<int> read_bench_depth(std::string_view text);

struct timed_bench {
  std::uint64_t signature = 0;
  std::int64_t millis = 0;
  std::uint64_t nodes_per_second = 0;
};

// Searches every bench position to `depth` and writes the lines above.
// The keys must have been read.
timed_bench run_timed_bench(int depth);

// Whether the command line asks for the bench: `bench` as its first word.
bool is_bench_command(int argc, char* argv[]);

// Runs `bench [DEPTH]` (the default depth without one) and returns the exit
// status: 0, or 2 after one line saying why when the depth or the number of
// arguments is wrong.
int run_bench_command(int argc, char* argv[]);

}  // namespace marlek
