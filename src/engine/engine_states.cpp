// The four modes of the engine thread and how each reacts to each message.
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/flags.h"
#include "base/front_end.h"
#include "base/numbers.h"
#include "board/attacks.h"
#include "board/castling.h"
#include "engine/depth_limit.h"
#include "engine/engine.h"
#include "engine/move_limits.h"
#include "engine/requests.h"
#include "engine/settings.h"
#include "engine/time_control.h"
#include "engine/timer.h"
#include "game/board_edit.h"
#include "game/root.h"
#include "search/alpha_beta.h"
#include "search/depth.h"
#include "search/helpers.h"
#include "search/iterate.h"
#include "search/root_moves.h"
#include "search/search_state.h"
#include "threads/set_up_messages.h"

namespace marlek {

namespace {
// Analysis and pondering think until a message arrives: 100 plies is "for ever".
constexpr int unlimited_plies = 100;
constexpr std::int64_t millis_per_second = 1000;
// Below this much of its own time the engine does not ponder on a
// predicted reply, only on the position as it stands.
constexpr std::int64_t ponder_reserve_ms = 30000;

constexpr const char* no_move_to_undo = "Error: no move to undo.";
constexpr const char* not_while_on_move = "Error: undo not legal when it's Marlek's turn.";

bool has_legal_moves() { return root_moves_end > 0; }

// Names the move as the GUI wrote it: text that is no move at all has no
// coordinate notation to show.
void report_illegal(const user_move& um) { reporter().illegal_move(um.text); }

// The GUI's move, read in the position it is played in: a Chess960
// castling may be written in letters.
move opponent_move(const user_move& um) { return read_move(um.text, game_castling_text()); }

// A search to the engine's own depth, or to the GUI's depth cap when lower.
int depth_for(int own_plies) { return capped_depth(own_plies) * one_ply; }

// The root the helpers set up: the game, and any move the engine has made
// on its board beyond it (the reply it ponders on).
helper_root root_of_the_search() {
  helper_root root{root::set_up_text, root::set_up_as_chess960, {}, excluded_root_moves};
  for (std::size_t i = 1; i < position::path.size(); ++i)
    root.moves.push_back(position::path[i].made);
  return root;
}

// The root lines a search finds and how many of them it shows, and
// whether the helpers join it.
struct search_shape {
  int lines = 1;
  int shown = every_line;
  bool helped = true;
};

// Iterative deepening on this thread, with the helpers beside it on more
// than one.
void deepen(int max_depth, search_fn search, thinking_output output,
            opening_line opening = opening_line::written, search_shape shape = {}) {
  const bool helped = shape.helped && search_threads() > 1 && has_legal_moves();
  if (helped) start_helpers(root_of_the_search(), max_depth);
  iterative_deepening(max_depth, search, output, opening, shape.lines, shape.shown);
  if (helped) stop_helpers();
}

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
  if (reason)
    reporter().complaint(std::string("Error (illegal position: ") + reason + "): " + command);
  return reason == nullptr;
}

// A whole game at once; a bad FEN or an illegal move is reported, and the
// old game stays.
void set_up_game(const set_game& sg) {
  move::move_vector moves;
  for (const std::string& text : sg.moves) moves.push_back(move(text.c_str()));
  std::size_t refused = 0;
  std::string refusal;
  switch (root::set_up_game(sg.fen, moves, refused, refusal, sg.chess960)) {
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

// The message as the class its kind stands for, or null after `complaint`
// when it is not one.
template <typename T>
T* as(message* m, const char* complaint) {
  T* typed = dynamic_cast<T*>(m);
  if (!typed) reporter().complaint(complaint);
  return typed;
}

// Asks the timer for the alarm of a move that may last `ms` from now.
std::int64_t set_alarm(engine* eng, std::int64_t ms) {
  const std::int64_t deadline = clock_millis() + std::max<std::int64_t>(ms, 0);
  if (mt_timer* timer = the_timer.load()) timer->post_message(new set_timer(eng, deadline));
  return deadline;
}

// The root moves a request names that are legal here; each of the others
// is reported and left out.
std::vector<move> requested_root_moves(const search_request& request) {
  std::vector<move> allowed;
  for (const std::string& text : request.search_moves) {
    const move m(text.c_str());
    if (root_move_index(m) == no_root_move)
      reporter().complaint("Error: searchmoves: " + text + " is not a legal move here; left out.");
    else
      allowed.push_back(m);
  }
  return allowed;
}

// Several root lines are for a GUI that shows the thinking: without it the
// engine searches for its one move.
int lines_to_show() { return post_thinking.load(std::memory_order_relaxed) ? root_lines() : 1; }

// xboard's exclude and include. A move that is no legal root move here is
// refused by its text; leaving out a move already left out, or taking in
// one that is searched, changes nothing.
void change_root_choice(const root_choice& choice) {
  std::vector<move> left_out = left_out_root_moves();
  switch (choice.what) {
    case root_choice::change::include_all: left_out.clear(); break;
    case root_choice::change::exclude_all:
      left_out.assign(global_moves.begin(),
                      global_moves.begin() + static_cast<std::ptrdiff_t>(root_moves_end));
      break;
    case root_choice::change::exclude:
    case root_choice::change::include: {
      const bool exclude = choice.what == root_choice::change::exclude;
      const move m = read_move(choice.move_text.c_str(), game_castling_text());
      if (root_move_index(m) == no_root_move) {
        reporter().complaint(std::string("Error (not a legal move here): ") +
                             (exclude ? "exclude " : "include ") + choice.move_text);
        return;
      }
      const auto at = std::find(left_out.begin(), left_out.end(), m);
      if (exclude && at == left_out.end()) left_out.push_back(m);
      if (!exclude && at != left_out.end()) left_out.erase(at);
      break;
    }
  }
  leave_out_root_moves(left_out);
}

// Below full strength: best_move becomes the first move of a root line of
// the last completed depth, drawn by the level's plan. The draw is seeded
// from the position and the level, so that it repeats.
void choose_weaker_move(int level, const strength_plan& plan) {
  if (completed_lines.empty()) return;
  std::vector<int> scores;
  for (const root_line_result& line : completed_lines) scores.push_back(line.score);
  const std::uint64_t seed =
      std::bit_cast<std::uint64_t>(position::position_key) ^ static_cast<std::uint64_t>(level);
  const std::size_t index =
      root_move_index(completed_lines[choose_line(scores, plan.temperature_cp, seed)].first);
  if (index != no_root_move) best_move = index;
}

// Whether a request limits the search by time: a time per move or a clock.
bool has_time_limit(const search_request& r) {
  return r.move_time_ms > 0 || r.white_ms || r.black_ms;
}

// Messages that change the game or the engine's mode: a GUI waiting for a
// search's move sends them only when it has done with that search, so they
// give it its move first. Questions and settings leave the search running.
bool ends_a_search(const message& m) {
  switch (m.kind) {
    case force::kind_id:
    case analyze::kind_id:
    case go::kind_id:
    case start_search::kind_id:
    case setboard::kind_id:
    case set_game::kind_id:
    case play_other::kind_id:
    case edit_board::kind_id:
    case set_side::kind_id: return true;
    default: return false;
  }
}
}  // namespace

// Force mode and the common handling -------------------------------------

eforce::eforce(engine* owner_engine) : state(owner_engine), eng(owner_engine) {}

void eforce::handle(message* m) {
  switch (m->kind) {
    case force::kind_id: change_state(&eng->force_mode); break;
    case analyze::kind_id: change_state(&eng->analyze_mode); break;
    case go::kind_id: change_state(&eng->go_mode); break;
    case start_search::kind_id:
      if (auto* s = as<start_search>(m, "Error: engine received malformed SEARCH message.")) {
        eng->next_request = std::move(s->request);
        change_state(&eng->go_mode);
      }
      break;
    case user_move::kind_id:
      if (auto* um = as<user_move>(m, "Error: engine received malformed USER_MOVE message.")) {
        // The mode stays, even when the move ended the game.
        if (root::play_move(opponent_move(*um)) == play_result::not_legal) report_illegal(*um);
      }
      break;
    case setboard::kind_id:
      if (auto* sb = as<setboard>(m, "Error: engine received malformed SETBOARD message."))
        root::SetBoard(sb->text, nullptr, sb->chess960);
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
      if (!root::take_back()) reporter().complaint(no_move_to_undo);
      break;
    case remove_pair::kind_id:
      // Both moves or neither: the GUI drops the pair from its board.
      if (!root::take_back_pair()) reporter().complaint(no_move_to_undo);
      break;
    case ping::kind_id:
      if (auto* p = as<ping>(m, "Error: engine received malformed PING message."))
        reporter().pong(p->number);
      break;
    case ready_request::kind_id: reporter().pong(0); break;
    case clear_hash::kind_id: root::clear_hash(); break;
    case set_threads::kind_id:
      if (auto* t = as<set_threads>(m, "Error: engine received malformed THREADS message."))
        set_search_threads(t->count);
      break;
    case hint_request::kind_id: answer_hint(*eng); break;
    case book_request::kind_id: list_book_moves(); break;
    case root_choice::kind_id:
      if (auto* c = as<root_choice>(m, "Error: engine received malformed ROOT_CHOICE message."))
        change_root_choice(*c);
      break;
    // times_up, go_now, ponder_hit, root_lines_changed, quit: nothing to do
    // here (a search they stopped starts again, when the mode has one).
    default: break;
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
    deepen(depth_for(unlimited_plies), search_root, thinking_output::as_posting,
           opening_line::written, {.lines = lines_to_show()});
  handle(owner->wait_message());
}

// Waiting for the opponent ----------------------------------------------------

void eponder::execute() {
  // A level below full strength thinks only on its own time, as it does
  // on its own move: no more than its level allows.
  if (ponder_enabled.load(std::memory_order_relaxed) && has_legal_moves() && !strength_level()) {
    // Thinking on the opponent's time prints nothing: the GUI shows the
    // thinking of the side to move. The GUI's own choice of posting stays
    // untouched for the engine's next search.
    eng->pondering = true;
    if (own_time_left_ms() > ponder_reserve_ms) {
      // best_move now indexes the opponent's root list: its likely reply.
      const move predicted = global_moves[best_move];
      make_move(predicted);
      deepen(depth_for(unlimited_plies), alpha_beta, thinking_output::silent);
      unmake_move(predicted);
    } else {
      deepen(depth_for(unlimited_plies), alpha_beta, thinking_output::silent);
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
  const play_result result = root::play_move(opponent_move(*um));
  if (result == play_result::not_legal) report_illegal(*um);
  delete m;
  if (result == play_result::game_goes_on)
    change_state(&eng->go_mode);
  else if (result != play_result::not_legal)
    change_state(&eng->force_mode);
}

// On move ----------------------------------------------------------------------

void ego::enter() {
  plan = move_plan{};
  request = std::exchange(eng->next_request, std::nullopt);
  if (request) {
    plan_request(*request);
    if (!take_search_moves(*request)) return;
  } else {
    plan_own_move();
  }
  if (!has_legal_moves()) {
    // The game is over (or no position was set up): nothing to play. A held
    // move waits for its request all the same.
    if (!plan.hold) play_best();
    return;
  }
  std::size_t book_index = 0;
  // The book is for the standard game.
  if (!plan.hold && excluded_root_moves.empty() && (!request || request->mate_in == 0) &&
      !chess960_game && own_book_enabled() && use_book.load(std::memory_order_relaxed) &&
      choose_book_move(eng->random, book_index)) {
    best_move = book_index;
    play_best();  // a book move costs no clock time: no alarm
    return;
  }
  if (request)
    limit_request(*request);
  else
    limit_own_move();
  weaken();
}

// An analysis without end is for the analyst: it keeps full strength.
void ego::weaken() {
  plan.level = request && request->infinite ? std::nullopt : strength_level();
  if (!plan.level) return;
  plan.weakened = plan_for_level(*plan.level);
  eng->level_node_limit = node_count + plan.weakened.nodes;
}

// The GUI's request: a mate search goes no deeper than the mate it looks
// for; a search without a clock runs to its depth or node limit, and one
// with no limit at all, or an infinite or pondering one, gives its move
// only when told to.
void ego::plan_request(const search_request& r) {
  plan.keeps_game = false;
  plan.answer_owed = true;
  plan.adaptive = false;
  if (r.depth > 0) plan.depth_cap = std::min(r.depth, unlimited_plies);
  if (r.mate_in > 0) {
    const int mate_plies = std::min(2 * r.mate_in - 1, unlimited_plies);
    plan.depth_cap = plan.depth_cap > 0 ? std::min(plan.depth_cap, mate_plies) : mate_plies;
  }
  plan.ponder = r.ponder;
  plan.hold = r.infinite || r.ponder ||
              (!has_time_limit(r) && r.depth <= 0 && r.nodes == 0 && r.mate_in <= 0);
  plan.until_stopped = r.infinite || r.ponder || !has_time_limit(r);
}

// The root moves a request names: false, with the request answered, when
// none of them is legal here.
bool ego::take_search_moves(const search_request& r) {
  if (r.search_moves.empty()) return true;
  const std::vector<move> allowed = requested_root_moves(r);
  if (allowed.empty()) {
    // Nothing to search: the request still gets its (empty) move.
    reporter().complaint("Error: searchmoves: none of the moves is legal here; no search.");
    plan.answer_owed = false;
    reporter().no_legal_move(false);
    change_state(&eng->force_mode);
    return false;
  }
  restrict_root_moves(allowed);
  return true;
}

// xboard's own move: a fixed time per move, or a share of the clock;
// counted in nodes instead when the GUI gave a node rate.
void ego::plan_own_move() {
  plan.adaptive = move_limits.move_time_ms.load(std::memory_order_relaxed) == 0;
  plan.depth_cap = move_limits.depth_cap.load(std::memory_order_relaxed);
}

void ego::limit_own_move() {
  const std::int64_t fixed_ms = move_limits.move_time_ms.load(std::memory_order_relaxed);
  const std::uint64_t rate = move_limits.node_rate.load(std::memory_order_relaxed);
  own_move_started();
  const std::int64_t ms =
      fixed_ms > 0 ? fixed_time_usable_ms(fixed_ms, move_overhead_ms())
                   : time_budget_ms(xboard_clock_reading(position::ply), move_overhead_ms());
  if (rate > 0) {
    const auto nodes = std::max<std::uint64_t>(
        1, rate * static_cast<std::uint64_t>(ms) / static_cast<std::uint64_t>(millis_per_second));
    eng->node_limit = node_count + nodes;
  } else {
    plan.deadline = set_alarm(eng, ms);
  }
}

// The time of a request counts from now: from the start of the search, or
// from the ponderhit of a pondering one.
void ego::limit_request(const search_request& r) {
  eng->node_limit = r.nodes > 0 ? node_count + r.nodes : 0;
  if (plan.ponder || plan.until_stopped) return;
  const bool white_on_move = position::side_to_move == white;
  const auto& own = white_on_move ? r.white_ms : r.black_ms;
  const auto& opp = white_on_move ? r.black_ms : r.white_ms;
  const auto& increment = white_on_move ? r.white_increment_ms : r.black_increment_ms;
  std::int64_t ms =
      r.move_time_ms > 0 ? fixed_time_usable_ms(r.move_time_ms, move_overhead_ms()) : number_limit;
  if (own) {
    clock_reading reading{*own, opp.value_or(*own), increment.value_or(0),
                          r.moves_to_go > 0 ? r.moves_to_go + 1 : 0};
    ms = std::min(ms, time_budget_ms(reading, move_overhead_ms()));
  }
  plan.deadline = set_alarm(eng, ms);
}

void ego::execute() {
  // The engine's own move cannot wait for the GUI to take a move back in:
  // a choice that leaves out every move lets it choose among all of them.
  if (!request && allowed_root_move_count() == 0) restrict_root_moves({});
  const opening_line opening = plan.searched ? opening_line::left_out : opening_line::written;
  plan.searched = true;
  // Below full strength the search finds the lines its move is chosen
  // among, shows those the GUI asked for, and has no helpers.
  const int shown = lines_to_show();
  const search_shape shape = plan.level
                                 ? search_shape{std::max(shown, plan.weakened.lines), shown, false}
                                 : search_shape{.lines = shown};
  deepen(search_plies() * one_ply, search_root, thinking_output::as_posting, opening, shape);
  // Stopped by a message, or done with a move that waits for its request.
  if (owner->has_message() || plan.hold) {
    handle(owner->wait_message());
    return;
  }
  // The search ended: by itself, in time, or because the alarm rang.
  const bool in_time = !plan.out_of_time;
  const bool adaptive = plan.adaptive;
  play_best();
  if (adaptive) depth_limit = std::clamp(depth_limit + (in_time ? 1 : -1), 1, max_depth);
}

// The adaptive depth saves clock time for later moves. A move with a time of
// its own cannot save any: it searches until its time is up. Every move
// searches at least one ply.
int ego::search_plies() const {
  int plies = plan.until_stopped ? unlimited_plies : plan.adaptive ? depth_limit : max_depth;
  if (plan.depth_cap > 0) plies = std::min(plies, plan.depth_cap);
  return std::max(plies, 1);
}

bool ego::time_is_up() const {
  return plan.out_of_time && (completed_depth >= one_ply || !has_legal_moves());
}

void ego::alarm_rang(std::int64_t alarm_deadline) {
  // An alarm left over from an earlier move has another deadline.
  if (alarm_deadline == plan.deadline) plan.out_of_time = true;
}

void ego::handle(message* m) {
  switch (m->kind) {
    case times_up::kind_id:
      if (auto* alarm = dynamic_cast<times_up*>(m)) alarm_rang(alarm->deadline);
      // Without a completed ply the next search finishes one first.
      if (time_is_up()) {
        const bool adaptive = plan.adaptive;
        play_best();
        if (adaptive) depth_limit = std::max(depth_limit - 1, 1);  // aim lower next time
      }
      break;
    case go_now::kind_id: play_best(); break;
    case ponder_hit::kind_id:
      if (plan.ponder && request) {
        plan.ponder = false;
        plan.hold = request->infinite;
        plan.until_stopped = request->infinite || !has_time_limit(*request);
        limit_request(*request);
      }
      break;
    case user_move::kind_id: reporter().complaint("Error: Not your move."); break;
    case undo::kind_id:
    case remove_pair::kind_id: reporter().complaint(not_while_on_move); break;
    case ping::kind_id:
      if (auto* p = as<ping>(m, "Error: Engine received malformed PING message."))
        pending_ping = p->number;
      break;
    default:
      // The GUI has done with the search it waits on: it gets its move now.
      if (plan.answer_owed && ends_a_search(*m)) play_best();
      eforce::handle(m);
      return;
  }
  delete m;
}

void ego::leave() {
  eng->node_limit = 0;
  eng->level_node_limit = 0;
  plan.deadline = no_alarm;
  // A request's searchmoves are its own; xboard's choice belongs to the
  // position and stays until the position changes.
  if (request) restrict_root_moves({});
  if (pending_ping == 0) return;
  reporter().pong(pending_ping);
  pending_ping = 0;
}

void ego::play_best() {
  plan.answer_owed = false;
  if (!has_legal_moves() || best_move >= root_moves_end) {
    reporter().no_legal_move(side_to_move_mated());
    change_state(&eng->force_mode);
    return;
  }
  if (plan.level) choose_weaker_move(*plan.level, plan.weakened);
  const move chosen = global_moves[best_move];
  move reply;
  const bool expecting = predicted_reply(chosen, reply);
  reporter().best_move(
      {to_text(chosen, game_castling_text()), expecting ? to_text(reply) : std::string()});
  if (!plan.keeps_game) {
    // The GUI keeps the game: it sends the move back with its next position.
    change_state(&eng->force_mode);
    return;
  }
  own_move_made();
  const play_result result = root::play_move(chosen);
  eng->has_expected_reply = expecting;
  eng->expected_reply = reply;
  eng->expected_at = position::position_key;
  if (result == play_result::not_legal) {
    reporter().complaint("Error: Marlek's attempting an illegal move: " + to_text(chosen));
    std::abort();
  }
  change_state(result == play_result::game_goes_on ? static_cast<state*>(&eng->ponder_mode)
                                                   : &eng->force_mode);
}

}  // namespace marlek
