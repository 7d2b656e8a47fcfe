#include "search/stop_poll.h"

namespace marlek {

namespace {
// Each searching thread asks its own question.
thread_local stop_poll_fn installed_poll = nullptr;
}  // namespace

void set_stop_poll(stop_poll_fn poll) { installed_poll = poll; }

bool engine_has_message() { return installed_poll && installed_poll(); }

}  // namespace marlek
