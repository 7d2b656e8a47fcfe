#include "uci/uci_search.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "base/flags.h"
#include "base/front_end.h"
#include "base/output.h"
#include "engine/engine.h"
#include "engine/move_limits.h"
#include "engine/time_control.h"
#include "game/root.h"
#include "uci/uci_options.h"
#include "uci/uci_output.h"

namespace marlek {

namespace {

// The deepest search a GUI can ask for, in plies.
constexpr std::int64_t deepest_search = 100;

uci_output words;
// The number of the last ping sent for `isready`; never 0.
std::int32_t ready_number = 0;
// The `go ponder` now running, whose limits count from its `ponderhit`.
std::optional<uci_go> pondering;

// The side to move after `position`, to read the right clock of `go`.
bool white_to_move = true;

std::int64_t at_least_one(std::int64_t ms) { return std::max<std::int64_t>(ms, 1); }

// The milliseconds the engine may spend on its move, or none when the GUI
// gave neither a clock nor a move time.
std::optional<std::int64_t> move_time(const uci_go& request) {
  const auto& own = white_to_move ? request.wtime : request.btime;
  const auto& opp = white_to_move ? request.btime : request.wtime;
  const auto& increment = white_to_move ? request.winc : request.binc;
  std::optional<std::int64_t> ms;
  if (request.movetime) ms = at_least_one(*request.movetime - move_overhead_ms());
  if (own) {
    // A clock that has run out still gets a move, as fast as it can.
    const std::int64_t left = std::max<std::int64_t>(*own, 0);
    const auto to_go =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(request.movestogo.value_or(0), 0, 1000));
    const std::int64_t share = at_least_one(clock_share_ms(
        left, std::max<std::int64_t>(opp.value_or(left), 0),
        std::max<std::int64_t>(increment.value_or(0), 0), to_go, move_overhead_ms()));
    ms = ms ? std::min(*ms, share) : share;
  }
  return ms;
}

// Sets the engine's limits for `request`. A search without a time limit
// runs until it reaches its depth or node limit; one without any limit, or
// an infinite or pondering one, gives its move only when told to.
void set_limits(const uci_go& request) {
  move_limits.reset();
  if (request.depth)
    move_limits.depth_cap.store(
        static_cast<int>(std::clamp<std::int64_t>(*request.depth, 1, deepest_search)));
  if (request.nodes)
    move_limits.node_cap.store(
        static_cast<std::uint64_t>(std::max<std::int64_t>(*request.nodes, 1)));
  const std::optional<std::int64_t> ms = move_time(request);
  if (request.infinite || request.ponder || (!ms && !request.depth && !request.nodes)) {
    move_limits.until_stopped.store(true);
    move_limits.hold_move.store(true);
  } else if (ms) {
    move_limits.move_time_ms.store(*ms);
  } else {
    move_limits.until_stopped.store(true);
  }
}

}  // namespace

void start_uci_engine() {
  install_front_end(&words);
  // A UCI GUI asks for pondering itself, with `go ponder`.
  ponder_enabled.store(false, std::memory_order_relaxed);
  post_to_engine(new set_game(start_position_fen, {}));
}

void note_side_to_move(const uci_position& position) {
  const bool white_starts = position.fen.find(" b ") == std::string::npos;
  white_to_move = white_starts == (position.moves.size() % 2 == 0);
}

void answer_when_ready() {
  if (words.searching()) {
    output_line("readyok");
    return;
  }
  ready_number = ready_number == std::numeric_limits<std::int32_t>::max() ? 1 : ready_number + 1;
  post_to_engine(new ping(ready_number));
}

// A fresh set-up: the tables start empty, at the size the GUI asked for.
void start_new_game() { post_to_engine(new setboard(start_position_fen)); }

void start_search(const uci_go& request) {
  finish_search();
  set_limits(request);
  pondering = request.ponder ? std::optional<uci_go>(request) : std::nullopt;
  words.search_started();
  post_to_engine(new go);
}

void finish_search() {
  if (words.searching()) stop_search();
}

void stop_search() {
  pondering.reset();
  if (words.searching()) post_to_engine(new go_now);
}

// The opponent played the move pondered on: the search goes on as the
// engine's own, under the limits of the `go ponder` that started it.
void ponder_hit() {
  if (!pondering) return;
  uci_go request = *pondering;
  pondering.reset();
  request.ponder = false;
  set_limits(request);
  post_to_engine(new go);
}

}  // namespace marlek
