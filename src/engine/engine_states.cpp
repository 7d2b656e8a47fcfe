// The four modes of the engine thread and how each reacts to each message.
#include <cstdlib>
#include <string>

#include "base/clock.h"
#include "base/flags.h"
#include "base/output.h"
#include "engine/depth_limit.h"
#include "engine/engine.h"
#include "engine/time_control.h"
#include "engine/timer.h"
#include "game/root.h"
#include "search/alpha_beta.h"
#include "search/depth.h"
#include "search/iterate.h"
#include "search/search_state.h"

namespace marlek {

namespace {
// Analysis and pondering think until a message arrives: 100 plies is "for ever".
constexpr int unlimited_depth = 10000;
// Below this much of its own time the engine does not ponder on a
// predicted reply, only on the position as it stands.
constexpr std::int32_t ponder_reserve_seconds = 30;

constexpr const char* no_move_to_undo = "Error: no move to undo.";
constexpr const char* not_while_on_move = "Error: undo not legal when it's Marlek's turn.";

bool has_legal_moves() { return root_moves_end > 0; }

// Names the move as the GUI wrote it: text that is no move at all has no
// coordinate notation to show.
void report_illegal(const user_move& um) {
  output_line(std::string("Error: Illegal move ") + um.text);
}

// A whole game at once. A bad FEN has been reported by the set-up; an
// illegal move is named here. Either way the old game stays.
void set_up_game(const set_game& sg) {
  move::move_vector moves;
  for (const std::string& text : sg.moves) moves.push_back(move(text.c_str()));
  std::size_t refused = 0;
  if (root::set_up_game(sg.fen, moves, refused) == game_set_up::illegal_move)
    output_line("Error: Illegal move " + sg.moves[refused]);
}

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
    case undo::kind_id:
      if (!root::take_back()) output_line(no_move_to_undo);
      break;
    case remove_pair::kind_id:
      // Both moves or neither: the GUI drops the pair from its board.
      if (!root::take_back_pair()) output_line(no_move_to_undo);
      break;
    case ping::kind_id:
      if (auto* p = as<ping>(m, "Error: engine received malformed PING message."))
        output_line("pong " + std::to_string(p->number));
      break;
    default: break;  // times_up, go_now, quit: nothing to do here
  }
  delete m;
}

void eforce::leave() { start_watch(); }

// Analysis ------------------------------------------------------------------

void eanalyze::execute() {
  if (has_legal_moves())
    iterative_deepening(unlimited_depth, search_root, thinking_output::as_posting);
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
      iterative_deepening(unlimited_depth, alpha_beta, thinking_output::silent);
      unmake_move(predicted);
    } else {
      iterative_deepening(unlimited_depth, alpha_beta, thinking_output::silent);
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
    // The game is over (or no position was set up): nothing to play.
    change_state(&eng->force_mode);
    return;
  }
  std::size_t book_index = 0;
  if (use_book.load(std::memory_order_relaxed) && choose_book_move(eng->random, book_index)) {
    best_move = book_index;
    play_best();  // a book move costs no clock time: no alarm
    return;
  }
  deadline = deadline_after(time_budget(position::ply));
  if (mt_timer* timer = the_timer.load()) timer->post_message(new set_timer(eng, deadline));
}

void ego::execute() {
  iterative_deepening(depth_limit * one_ply, search_root, thinking_output::as_posting);
  if (owner->has_message()) {
    handle(owner->wait_message());
    return;
  }
  // The search completed its depth in time: next time it may go deeper.
  play_best();
  if (depth_limit < max_depth) depth_limit += 1;
}

void ego::handle(message* m) {
  switch (m->kind) {
    case times_up::kind_id:
      // An alarm left over from an earlier move has another deadline.
      if (auto* alarm = dynamic_cast<times_up*>(m); alarm && alarm->deadline == deadline) {
        play_best();
        depth_limit -= 1;  // the alarm stopped the search: aim lower next time
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
  if (pending_ping == 0) return;
  output_line("pong " + std::to_string(pending_ping));
  pending_ping = 0;
}

void ego::play_best() {
  if (!has_legal_moves() || best_move >= root_moves_end) {
    change_state(&eng->force_mode);
    return;
  }
  const move chosen = global_moves[best_move];
  output_line("move " + to_text(chosen));
  const play_result result = root::play_move(chosen);
  if (result == play_result::not_legal) {
    output_line("Error: Marlek's attempting an illegal move: " + to_text(chosen));
    std::abort();
  }
  change_state(result == play_result::game_goes_on ? static_cast<state*>(&eng->ponder_mode)
                                                   : &eng->force_mode);
}

}  // namespace marlek
