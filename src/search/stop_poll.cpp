#include "search/stop_poll.h"

#include <atomic>

namespace marlek {

namespace {
std::atomic<stop_poll_fn> installed_poll{nullptr};
}  // namespace

void set_stop_poll(stop_poll_fn poll) { installed_poll.store(poll, std::memory_order_relaxed); }

bool engine_has_message() {
  const stop_poll_fn poll = installed_poll.load(std::memory_order_relaxed);
  return poll && poll();
}

}  // namespace marlek
