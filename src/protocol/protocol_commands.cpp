#include "protocol/protocol_commands.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "base/flags.h"
#include "engine/engine.h"
#include "engine/timer.h"

namespace marlek {

namespace {
// Long enough for the engine thread to abandon a search and leave its state.
constexpr std::chrono::milliseconds quit_grace{250};
}  // namespace

void post_command() { post_thinking.store(true, std::memory_order_relaxed); }

void nopost_command() { post_thinking.store(false, std::memory_order_relaxed); }

void hard_command() { ponder_enabled.store(true, std::memory_order_relaxed); }

void easy_command() { ponder_enabled.store(false, std::memory_order_relaxed); }

void ignored_command() {}

void quit_command() {
  post_to_engine(new force);
  if (mt_timer* timer = the_timer.load()) timer->enabled.store(false, std::memory_order_relaxed);
  std::this_thread::sleep_for(quit_grace);
  std::exit(0);
}

}  // namespace marlek
