#include "engine/engine.h"

#include "search/stop_poll.h"

namespace marlek {

namespace {
bool engine_queue_has_message() { return the_engine().has_message(); }
}  // namespace

engine::engine()
    : mt_object(&force_mode, "Engine"),
      force_mode(this),
      analyze_mode(this),
      ponder_mode(this),
      go_mode(this) {
  // A search on this thread stops as soon as a message waits for it.
  set_stop_poll(engine_queue_has_message);
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
