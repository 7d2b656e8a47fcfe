// The four modes of the engine thread and how each reacts to each message.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/flags.h"
#include "base/front_end.h"
#include "base/output.h"
#include "board/attacks.h"
#include "engine/depth_limit.h"
#include "engine/engine.h"
#include "engine/move_limits.h"
#include "engine/requests.h"
#include "engine/time_control.h"
#include "engine/timer.h"
#include "game/board_edit.h"
#include "game/root.h"
#include "search/alpha_beta.h"
#include "search/depth.h"
#include "search/iterate.h"
#include "search/search_state.h"
#include "threads/set_up_messages.h"

namespace marlek {

namespace {
// Analysis and pondering think until a message arrives: 100 plies is "for ever".
constexpr int unlimited_plies = 100;
constexpr std::int64_t millis_per_second = 1000;
// The deadline of a move without an alarm: no alarm carries it.
constexpr std::int64_t no_alarm = -1;
// Below this much of its own time the engine does not ponder on a
// predicted reply, only on the position as it stands.
constexpr std::int32_t ponder_reserve_seconds = 30;

constexpr const char* no_move_to_undo = "Error: no move to undo.";
constexpr const char* not_while_on_move = "Error: undo not legal when it's Marlek's turn.";

bool has_legal_moves() { return root_moves_end > 0; }

// The clock's budget of this move, fraction of the increment included.
std::int64_t clock_budget_ms() {
  return std::int64_t{time_budget(position::ply)} * millis_per_second +
         increment_fraction_ms.load(std::memory_order_relaxed);
}

// Names the move as the GUI wrote it: text that is no move at all has no
// coordinate notation to show.
void report_illegal(const user_move& um) { reporter().illegal_move(um.text); }

// A search to the engine's own depth, or to the GUI's depth cap when lower.
int depth_for(int own_plies) { return capped_depth(own_plies) * one_ply; }

// The opponent's expected answer to `chosen`: the second move of the
// principal variation that chose it; false when it has none.
bool predicted_reply(move chosen, move& reply) {
  const std::vector<move> line = principal_variation();
  if (line.size() < 2 || !(line[0] == chosen)) return false;
  reply = line[1];
  return true;
}

// A set-up that cannot be played is refused with its reason; the game stays.
bool report_unplayable(const char* reason, const char* command) {
  if (reason) output_line(std::string("Error (illegal position: ") + reason + "): " + command);
  return reason == nullptr;
}

// A whole game at once; a bad FEN or an illegal move is reported, and the
// old game stays.
void set_up_game(const set_game& sg) {
  move::move_vector moves;
  for (const std::string& text : sg.moves) moves.push_back(move(text.c_str()));
  std::size_t refused = 0;
  std::string refusal;
  switch (root::set_up_game(sg.fen, moves, refused, refusal)) {
    case game_set_up::bad_fen: reporter().position_refused(refusal); break;
    case game_set_up::illegal_move: reporter().illegal_move(sg.moves[refused]); break;
    case game_set_up::done: break;
  }
}

// Whether the side to move, without a legal move, is mated (and not
// stalemated, or without a position at all).
bool side_to_move_mated() {
  const colour side = position::side_to_move;
  return position::kings[side] != nullptr && in_check(side);
}

bool holding_move() { return move_limits.hold_move.load(std::memory_order_relaxed); }

// The message as the class its kind stands for, or null after `complaint`
// when it is not one.
template <typename T>
T* as(message* m, const char* complaint) {
  T* typed = dynamic_cast<T*>(m);
  if (!typed) output_line(complaint);
  return typed;
}
}  // namespace

// Force mode and the common handling -------------------------------------

eforce::eforce(engine* owner_engine) : state(owner_engine), eng(owner_engine) {}

void eforce::handle(message* m) {
  switch (m->kind) {
    case force::kind_id: change_state(&eng->force_mode); break;
    case analyze::kind_id: change_state(&eng->analyze_mode); break;
    case go::kind_id: change_state(&eng->go_mode); break;
    case user_move::kind_id:
      if (auto* um = as<user_move>(m, "Error: engine received malformed USER_MOVE message.")) {
        // The mode stays, even when the move ended the game.
        if (root::play_move(um->mv) == play_result::not_legal) report_illegal(*um);
      }
      break;
    case setboard::kind_id:
      if (auto* sb = as<setboard>(m, "Error: engine received malformed SETBOARD message."))
        root::SetBoard(sb->text);
      break;
    case set_game::kind_id:
      if (auto* sg = as<set_game>(m, "Error: engine received malformed SET_GAME message."))
        set_up_game(*sg);
      break;
    case play_other::kind_id: change_state(&eng->ponder_mode); break;
    case edit_board::kind_id:
      if (auto* e = as<edit_board>(m, "Error: engine received malformed EDIT message."))
        report_unplayable(set_up_edited(e->squares), "edit");
      break;
    case set_side::kind_id:
      // The engine plays the other side, as after `playother`.
      if (auto* s = as<set_side>(m, "Error: engine received malformed SIDE message.");
          s && report_unplayable(put_side_on_move(s->side), s->side == white ? "white" : "black"))
        change_state(&eng->ponder_mode);
      break;
    case undo::kind_id:
      if (!root::take_back()) output_line(no_move_to_undo);
      break;
    case remove_pair::kind_id:
      // Both moves or neither: the GUI drops the pair from its board.
      if (!root::take_back_pair()) output_line(no_move_to_undo);
      break;
    case ping::kind_id:
      if (auto* p = as<ping>(m, "Error: engine received malformed PING message."))
        reporter().pong(p->number);
      break;
    case clear_hash::kind_id: root::clear_hash(); break;
    case hint_request::kind_id: answer_hint(*eng); break;
    case book_request::kind_id: list_book_moves(); break;
    default: break;  // times_up, go_now, quit: nothing to do here
  }
  delete m;
}

void eforce::leave() { start_watch(); }

// Analysis ------------------------------------------------------------------

void eanalyze::enter() { analysing.store(true, std::memory_order_relaxed); }

void eanalyze::leave() {
  analysing.store(false, std::memory_order_relaxed);
  eforce::leave();
}

void eanalyze::execute() {
  if (has_legal_moves())
    iterative_deepening(depth_for(unlimited_plies), search_root, thinking_output::as_posting);
  handle(owner->wait_message());
}

// Waiting for the opponent ----------------------------------------------------

void eponder::execute() {
  if (ponder_enabled.load(std::memory_order_relaxed) && has_legal_moves()) {
    // Thinking on the opponent's time prints nothing: the GUI shows the
    // thinking of the side to move. The GUI's own choice of posting stays
    // untouched for the engine's next search.
    eng->pondering = true;
    if (own_time_left() > ponder_reserve_seconds) {
      // best_move now indexes the opponent's root list: its likely reply.
      const move predicted = global_moves[best_move];
      make_move(predicted);
      iterative_deepening(depth_for(unlimited_plies), alpha_beta, thinking_output::silent);
      unmake_move(predicted);
    } else {
      iterative_deepening(depth_for(unlimited_plies), alpha_beta, thinking_output::silent);
    }
    eng->pondering = false;
  }
  handle(owner->wait_message());
}

void eponder::handle(message* m) {
  if (m->kind != user_move::kind_id) {
    eforce::handle(m);
    return;
  }
  auto* um = as<user_move>(m, "Error: engine received malformed USER_MOVE message.");
  if (!um) {
    delete m;
    return;
  }
  const play_result result = root::play_move(um->mv);
  if (result == play_result::not_legal) report_illegal(*um);
  delete m;
  if (result == play_result::game_goes_on)
    change_state(&eng->go_mode);
  else if (result != play_result::not_legal)
    change_state(&eng->force_mode);
}

// On move ----------------------------------------------------------------------

void ego::enter() {
  if (!has_legal_moves()) {
    // The game is over (or no position was set up): nothing to play. A held
    // move waits for its request all the same.
    if (!holding_move()) play_best();
    return;
  }
  std::size_t book_index = 0;
  if (!holding_move() && own_book.load(std::memory_order_relaxed) &&
      use_book.load(std::memory_order_relaxed) && choose_book_move(eng->random, book_index)) {
    best_move = book_index;
    play_best();  // a book move costs no clock time: no alarm
    return;
  }
  limit_the_move();
}

// A fixed time per move, or a share of the clock; counted in nodes instead
// when the GUI gave a node rate; with no limit at all when the search is to
// run until stopped.
void ego::limit_the_move() {
  deadline = no_alarm;
  adaptive = move_limits.move_time_ms.load(std::memory_order_relaxed) == 0;
  std::uint64_t nodes = move_limits.node_cap.load(std::memory_order_relaxed);
  if (!move_limits.until_stopped.load(std::memory_order_relaxed)) {
    const std::int64_t fixed_ms = move_limits.move_time_ms.load(std::memory_order_relaxed);
    const std::uint64_t rate = move_limits.node_rate.load(std::memory_order_relaxed);
    if (rate > 0) {
      const std::int64_t ms = fixed_ms > 0 ? fixed_ms : clock_budget_ms();
      const std::uint64_t by_rate = std::max<std::uint64_t>(1, rate * ms / millis_per_second);
      nodes = nodes > 0 ? std::min(nodes, by_rate) : by_rate;
    } else {
      // The clock's budget counts whole seconds: its deadline is the turn of
      // the clock's second, as the clock of `time` and `otim` reads it, and
      // the fraction of a fractional increment.
      deadline = fixed_ms > 0 ? fixed_time_deadline(fixed_ms)
                              : deadline_after(time_budget(position::ply)) * millis_per_second +
                                    increment_fraction_ms.load(std::memory_order_relaxed);
      if (mt_timer* timer = the_timer.load()) timer->post_message(new set_timer(eng, deadline));
    }
  }
  eng->node_limit = nodes > 0 ? node_count + nodes : 0;
}

void ego::execute() {
  iterative_deepening(depth_for(own_depth()), search_root, thinking_output::as_posting);
  // Stopped by a message, or done with a move that waits for its request.
  if (owner->has_message() || holding_move()) {
    handle(owner->wait_message());
    return;
  }
  // The search completed its depth in time: next time it may go deeper.
  play_best();
  if (adaptive && depth_limit < max_depth) depth_limit += 1;
}

// The adaptive depth saves clock time for later moves. A move with a time of
// its own cannot save any: it searches until its time is up.
int ego::own_depth() const {
  if (move_limits.until_stopped.load(std::memory_order_relaxed)) return unlimited_plies;
  return adaptive ? depth_limit : max_depth;
}

void ego::handle(message* m) {
  switch (m->kind) {
    case times_up::kind_id:
      // An alarm left over from an earlier move has another deadline.
      if (auto* alarm = dynamic_cast<times_up*>(m); alarm && alarm->deadline == deadline) {
        play_best();
        if (adaptive) depth_limit -= 1;  // the alarm stopped the search: aim lower next time
      }
      break;
    case go_now::kind_id: play_best(); break;
    case user_move::kind_id: output_line("Error: Not your move."); break;
    case undo::kind_id:
    case remove_pair::kind_id: output_line(not_while_on_move); break;
    case ping::kind_id:
      if (auto* p = as<ping>(m, "Error: Engine received malformed PING message."))
        pending_ping = p->number;
      break;
    default: eforce::handle(m); return;
  }
  delete m;
}

void ego::leave() {
  eng->node_limit = 0;
  if (pending_ping == 0) return;
  reporter().pong(pending_ping);
  pending_ping = 0;
}

void ego::play_best() {
  if (!has_legal_moves() || best_move >= root_moves_end) {
    reporter().no_legal_move(side_to_move_mated());
    change_state(&eng->force_mode);
    return;
  }
  const move chosen = global_moves[best_move];
  move reply;
  const bool expecting = predicted_reply(chosen, reply);
  reporter().engine_move(to_text(chosen), expecting ? to_text(reply) : std::string());
  const play_result result = root::play_move(chosen);
  eng->has_expected_reply = expecting;
  eng->expected_reply = reply;
  eng->expected_at = position::position_key;
  if (result == play_result::not_legal) {
    output_line("Error: Marlek's attempting an illegal move: " + to_text(chosen));
    std::abort();
  }
  change_state(result == play_result::game_goes_on ? static_cast<state*>(&eng->ponder_mode)
                                                   : &eng->force_mode);
}

}  // namespace marlek
