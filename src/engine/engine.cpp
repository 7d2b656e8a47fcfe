#include "engine/engine.h"

#include "base/flags.h"
#include "search/search_state.h"
#include "search/stop_poll.h"

namespace marlek {

namespace {
// A waiting message stops any search; `easy` stops pondering at once rather
// than leaving it to burn the opponent's time until the next message; and
// the engine's own move stops at its node limit.
bool engine_should_stop() {
  engine& e = the_engine();
  return e.has_message() || (e.node_limit != 0 && node_count >= e.node_limit) ||
         (e.pondering && !ponder_enabled.load(std::memory_order_relaxed));
}
}  // namespace

engine::engine()
    : mt_object(&force_mode, "Engine"),
      force_mode(this),
      analyze_mode(this),
      ponder_mode(this),
      go_mode(this) {
  // A search on this thread stops as soon as a message waits for it.
  set_stop_poll(engine_should_stop);
  start();
}

engine::~engine() {
  stop();
  set_stop_poll(nullptr);
}

engine& the_engine() {
  static engine the_one;
  return the_one;
}

void post_to_engine(message* m) { the_engine().post_message(m); }

}  // namespace marlek
