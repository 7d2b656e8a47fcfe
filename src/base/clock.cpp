#include "base/clock.h"

#include <atomic>
#include <chrono>

namespace marlek {

namespace {
// Written by the engine thread, read by whoever prints; atomic so that the
// read is never torn.
std::atomic<std::int32_t> watch_start{0};
}  // namespace

std::int32_t clock_seconds() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::int32_t>(std::chrono::duration_cast<std::chrono::seconds>(since).count());
}

void start_watch() { watch_start.store(clock_seconds(), std::memory_order_relaxed); }

std::int32_t elapsed_centis() {
  return (clock_seconds() - watch_start.load(std::memory_order_relaxed)) * 100;
}

}  // namespace marlek
