#pragma once
// What limits the search of the engine's own moves under xboard besides the
// chess clock: the GUI's `st`, `sd` and `nps`. The front end sets these on
// the main thread; the engine thread reads them each time it goes on move
// (the depth cap also when it analyses or ponders). All are off by default:
// then the engine times its moves by the clock of `level`, `time` and
// `otim` (time_control.h). A GUI that sends its limits with each search
// (UCI) gives them in its request instead.
//
//   move_limits.move_time_ms = 2000;   // two seconds per move (st 2)
//   move_limits.depth_cap = 3;         // never beyond three plies (sd 3)
//   move_limits.reset();               // back to the clock alone
#include <atomic>
#include <cstdint>

namespace marlek {

struct search_limits {
  // > 0: each move takes at most this many milliseconds as the GUI
  // measures it, instead of a share of the clock; the engine keeps a small
  // margin for the GUI's own reading of the move.
  std::atomic<std::int64_t> move_time_ms{0};
  // > 0: the search stops after this depth in plies, on top of any time
  // limit; below it the engine's own adaptive depth still applies.
  std::atomic<int> depth_cap{0};
  // > 0: nodes per second stand in for the wall clock: a budget of t
  // seconds becomes t times this many nodes, and no alarm is set.
  std::atomic<std::uint64_t> node_rate{0};

  // Every limit off.
  void reset();
};

inline search_limits move_limits;

// The depth, in plies, to which the engine searches when its own limit is
// `own_plies`: the depth cap when it is lower.
int capped_depth(int own_plies);

}  // namespace marlek
