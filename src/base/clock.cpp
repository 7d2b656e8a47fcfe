#include "base/clock.h"

#include <atomic>
#include <chrono>

namespace marlek {

namespace {
// Written by the engine thread, read by whoever prints; atomic so that the
// read is never torn. Milliseconds of clock_millis().
std::atomic<std::int64_t> watch_start{0};

constexpr std::int64_t millis_per_second = 1000;
}  // namespace

std::int64_t clock_millis() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
}

std::int32_t clock_seconds() {
  return static_cast<std::int32_t>(clock_millis() / millis_per_second);
}

void start_watch() { watch_start.store(clock_millis(), std::memory_order_relaxed); }

std::int64_t elapsed_millis() {
  return clock_millis() - watch_start.load(std::memory_order_relaxed);
}

}  // namespace marlek
