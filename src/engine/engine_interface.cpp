#include "engine/engine_interface.h"

#include <utility>

#include "base/flags.h"
#include "engine/engine.h"
#include "engine/move_limits.h"
#include "engine/requests.h"
#include "engine/time_control.h"
#include "game/root.h"
#include "threads/set_up_messages.h"

namespace marlek::engine_api {

std::string_view start_position() { return start_position_fen; }

// Force mode first stops any search of the old game, so that no move of
// it, and no move for White in the new one, is played before the engine
// waits. A new game keeps the time control, `st` included, and starts both
// clocks again from it.
void new_game(bool chess960) {
  move_limits.depth_cap.store(0, std::memory_order_relaxed);
  move_limits.node_rate.store(0, std::memory_order_relaxed);
  restart_clocks();
  post_to_engine(new force);
  post_to_engine(new setboard(start_position_fen, chess960));
  use_book.store(true, std::memory_order_relaxed);
  post_to_engine(new play_other);
}

void set_position(std::string_view fen, bool chess960) {
  post_to_engine(new setboard(fen, chess960));
  use_book.store(false, std::memory_order_relaxed);
}

// A game from the start position may use the book; one from a FEN is not
// from the book's games.
void set_game(bool from_start, std::string fen, std::vector<std::string> moves, bool chess960) {
  use_book.store(from_start, std::memory_order_relaxed);
  post_to_engine(new marlek::set_game(from_start ? std::string(start_position_fen) : std::move(fen),
                                      std::move(moves), chess960));
}

void play_opponent_move(std::string_view text) { post_to_engine(new user_move(text)); }

void take_back_one() { post_to_engine(new undo); }

void take_back_two() { post_to_engine(new remove_pair); }

void edit_position(const std::array<char, 64>& changes) {
  auto* m = new edit_board;
  m->squares = changes;
  post_to_engine(m);
}

void put_on_move(std::int32_t side) { post_to_engine(new set_side(side)); }

void enter_force_mode() { post_to_engine(new force); }

void enter_analysis() { post_to_engine(new analyze); }

void think_on_move() { post_to_engine(new go); }

void wait_for_opponent() { post_to_engine(new play_other); }

void move_now() { post_to_engine(new go_now); }

void exclude_move(std::string_view text) {
  post_to_engine(new root_choice(root_choice::change::exclude, text));
}

void include_move(std::string_view text) {
  post_to_engine(new root_choice(root_choice::change::include, text));
}

void exclude_all_moves() { post_to_engine(new root_choice(root_choice::change::exclude_all, "")); }

void include_all_moves() { post_to_engine(new root_choice(root_choice::change::include_all, "")); }

void start_search(search_request request) {
  post_to_engine(new marlek::start_search(std::move(request)));
}

void stop_search() { post_to_engine(new go_now); }

void ponder_hit() { post_to_engine(new marlek::ponder_hit); }

void ping(std::int32_t number) { post_to_engine(new marlek::ping(number)); }

void ask_ready() { post_to_engine(new ready_request); }

void ask_hint() { post_to_engine(new hint_request); }

void ask_book_moves() { post_to_engine(new book_request); }

void ask_status() { report_analysis_status(); }

void set_posting(bool on) { post_thinking.store(on, std::memory_order_relaxed); }

void set_pondering(bool on) { ponder_enabled.store(on, std::memory_order_relaxed); }

void set_time_control(std::int32_t moves, std::int64_t base_ms, std::int64_t increment_ms) {
  marlek::set_time_control(moves, base_ms, increment_ms);
  // A clock replaces a fixed time per move.
  move_limits.move_time_ms.store(0, std::memory_order_relaxed);
}

void set_own_time(std::int64_t centis) { marlek::set_own_time(centis); }

void set_opp_time(std::int64_t centis) { marlek::set_opp_time(centis); }

void set_move_time(std::int64_t ms) {
  move_limits.move_time_ms.store(ms, std::memory_order_relaxed);
}

void set_depth_cap(int plies) { move_limits.depth_cap.store(plies, std::memory_order_relaxed); }

void set_node_rate(std::uint64_t nodes_per_second) {
  move_limits.node_rate.store(nodes_per_second, std::memory_order_relaxed);
}

void quit() { quit_engine(); }

}  // namespace marlek::engine_api
