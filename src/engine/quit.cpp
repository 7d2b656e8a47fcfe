// The end of the process on `quit`, shared by both front ends. It lives apart
// from the engine thread so that a front end can be linked against a stand-in
// for post_to_engine (the fuzz targets check every message that way).
#include <chrono>
#include <cstdlib>
#include <thread>

#include "engine/engine.h"
#include "engine/timer.h"

namespace marlek {

namespace {
// Long enough for the engine thread to abandon a search and leave its state.
constexpr std::chrono::milliseconds quit_grace{250};
}  // namespace

void quit_engine() {
  post_to_engine(new force);
  if (mt_timer* timer = the_timer.load()) timer->enabled.store(false, std::memory_order_relaxed);
  std::this_thread::sleep_for(quit_grace);
  std::exit(0);
}

}  // namespace marlek
