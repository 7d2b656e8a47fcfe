#include "engine/engine.h"

#include "base/flags.h"
#include "base/front_end.h"
#include "board/castling.h"
#include "board/fen.h"
#include "game/root.h"
#include "search/depth.h"
#include "search/helpers.h"
#include "search/search_state.h"
#include "search/stop_poll.h"

namespace marlek {

namespace {
bool engine_should_stop() { return the_engine().stop_requested(); }

// Whether the search now running has completed a ply of its own: a level
// below full strength plays no move it has not looked at.
bool searched_a_ply() { return !completed_lines.empty() && completed_depth >= one_ply; }

bool taken_in_stride(const message& m) {
  return m.kind == ready_request::kind_id || m.kind == times_up::kind_id;
}
}  // namespace

engine::engine()
    : mt_object(&force_mode, "Engine"),
      force_mode(this),
      analyze_mode(this),
      ponder_mode(this),
      go_mode(this) {
  start();
}

engine::~engine() { stop(); }

void engine::thread_started() {
  // A search on this thread stops as soon as a message waits for it.
  set_stop_poll(engine_should_stop);
  root::SetBoard(start_position_fen);
}

// The board's pieces belong to this thread's position and end with it.
void engine::thread_ending() { clear_board(); }

// `easy` stops pondering at once rather than leaving it to burn the
// opponent's time until the next message, and the engine's own move stops
// at its node limit.
bool engine::stop_requested() {
  while (has_message()) {
    message* m = take_oldest_if(taken_in_stride);
    if (!m) return true;
    if (m->kind == ready_request::kind_id)
      reporter().pong(0);
    else if (auto* alarm = dynamic_cast<times_up*>(m))
      go_mode.alarm_rang(alarm->deadline);
    delete m;
  }
  return go_mode.time_is_up() || (node_limit != 0 && node_count + helper_nodes() >= node_limit) ||
         (level_node_limit != 0 && node_count >= level_node_limit && searched_a_ply()) ||
         (pondering && !ponder_enabled.load(std::memory_order_relaxed));
}

engine& the_engine() {
  static engine the_one;
  return the_one;
}

void post_to_engine(message* m) { the_engine().post_message(m); }

}  // namespace marlek
