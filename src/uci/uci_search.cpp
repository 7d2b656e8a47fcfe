#include "uci/uci_search.h"

#include <atomic>

#include "base/flags.h"
#include "base/output.h"
#include "engine/engine.h"
#include "game/root.h"

namespace marlek {

namespace {
std::atomic<bool> search_running{false};
std::int32_t ready_number = 0;
}  // namespace

void start_uci_engine() {
  ponder_enabled.store(false, std::memory_order_relaxed);
  post_to_engine(new set_game(start_position_fen, {}));
}

void answer_when_ready() {
  if (search_running.load()) {
    output_line("readyok");
    return;
  }
  post_to_engine(new ping(++ready_number));
}

void start_new_game() {}

void start_search(const uci_go&) {
  search_running.store(true);
  post_to_engine(new go);
}

void stop_search() { post_to_engine(new go_now); }

void ponder_hit() {}

}  // namespace marlek
