#pragma once
// The engine thread: it holds the game. Every command that touches the
// position reaches it as a message, and it alone makes moves on the global
// position, searches, and reports its moves, results and pongs.
//
// Its behaviour is a state machine with one state per protocol mode:
//   eforce    force mode: plays neither side (the initial state)
//   eanalyze  analysis: searches the position until a message arrives
//   eponder   waits for the opponent's move, optionally thinking meanwhile
//   ego       on move: book, time budget and alarm, search, the move
// A running search stops because a message is waiting for this thread (the
// engine installs that question as the search's stop poll), and the current
// state then handles that message; a ponder search also stops as soon as
// pondering is switched off.
//
// A GUI that keeps the game itself (UCI) starts each search with its own
// limits (start_search). The engine then owns the search from `go` to its
// best move: it reports exactly one best move for every search started,
// whatever arrives in between, and leaves its board as the GUI set it.
#include <cstdint>
#include <optional>

#include "board/keys.h"
#include "board/move_text.h"
#include "book/book_choice.h"
#include "engine/strength.h"
#include "threads/message.h"
#include "threads/mt_object.h"
#include "threads/search_messages.h"
#include "threads/state.h"

namespace marlek {

class engine;

// Force mode, and the handling of every message common to all modes.
class eforce : public state {
 public:
  eforce(engine* owner_engine);
  void handle(message* m) override;
  void leave() override;

 protected:
  engine* eng;
};

class eanalyze : public eforce {
 public:
  using eforce::eforce;
  void execute() override;
  void enter() override;
  void leave() override;
};

class eponder : public eforce {
 public:
  using eforce::eforce;
  void execute() override;
  void handle(message* m) override;
};

// The deadline of a move without an alarm: no alarm carries it.
inline constexpr std::int64_t no_alarm = -1;

// What limits the engine's search of its own move, settled as it goes on
// move. Engine thread only.
struct move_plan {
  // The engine plays its move on its own board (xboard); otherwise the GUI
  // keeps the game and the move is only reported (UCI).
  bool keeps_game = true;
  // A GUI waits for this search's best move.
  bool answer_owed = false;
  // The move waits until it is asked for (stop, move now), even when the
  // search ends by itself.
  bool hold = false;
  // Thinking on the opponent's time: the limits start at ponderhit.
  bool ponder = false;
  // No clock: the search runs to its depth or node limit, or until stopped.
  bool until_stopped = false;
  // The depth follows the adaptive depth limit.
  bool adaptive = true;
  // Plies; 0 for no limit beyond the engine's own.
  int depth_cap = 0;
  // Of the alarm set for this move (clock_millis).
  std::int64_t deadline = no_alarm;
  // The alarm rang: the search ends as soon as it has completed a ply.
  bool out_of_time = false;
  // The search has run once (its opening thinking line is out).
  bool searched = false;
  // Below full strength: the GUI's level, and what it allows this move.
  std::optional<int> level;
  strength_plan weakened;
};

class ego : public eforce {
 public:
  using eforce::eforce;
  void enter() override;
  void execute() override;
  void handle(message* m) override;
  void leave() override;

  // Whether the alarm of this move has rung and the search has done the
  // least it must (a completed ply): the search stops then.
  bool time_is_up() const;
  // Takes the alarm that `deadline` names: this move's (the search then
  // stops at the first chance), or one left over from an earlier move.
  void alarm_rang(std::int64_t alarm_deadline);

 private:
  // The limits of this move: the GUI's search request, or xboard's clock
  // and standing limits.
  void plan_request(const search_request& request);
  void plan_own_move();
  bool take_search_moves(const search_request& request);
  // Sets the alarm or the node limit of the move, counted from now.
  void limit_request(const search_request& request);
  void limit_own_move();
  // The depth in plies the search may reach.
  int search_plies() const;
  // Below full strength, the level's limits of this move.
  void weaken();
  // Plays (or reports) the chosen root move.
  void play_best();

  std::int32_t pending_ping = 0;  // answered when the engine leaves this state
  move_plan plan;
  // The GUI's limits of the search now running, kept for its ponderhit.
  std::optional<search_request> request;
};

class engine : public mt_object {
 public:
  engine();
  ~engine() override;

  eforce force_mode;
  eanalyze analyze_mode;
  eponder ponder_mode;
  ego go_mode;
  // The engine thread's own random sequence for book choices.
  book_random random;
  // Set while a ponder search runs. Engine thread only.
  bool pondering = false;
  // The node count at which the search of the engine's move stops; 0 for
  // none. Engine thread only.
  std::uint64_t node_limit = 0;
  // The same for a level below full strength, which lets the search
  // complete a ply of its own first. Engine thread only.
  std::uint64_t level_node_limit = 0;
  // The opponent's expected reply to the engine's last move, good while
  // the position is still the one that move reached (expected_at).
  // Engine thread only.
  move expected_reply;
  hash_key expected_at;
  bool has_expected_reply = false;
  // The limits of the search that start_search asked for, until ego takes
  // them. Engine thread only.
  std::optional<search_request> next_request;

  // The search's stop poll: whether a search on this thread must stop now.
  // A message waiting stops it, except the two that the search can take in
  // its stride: a readiness question, answered at once, and an alarm, which
  // stops it only once it has completed a ply. Engine thread only.
  bool stop_requested();

 private:
  // The engine thread's own position starts as the start position, for a
  // game that begins without `new`, and its searches stop at its poll.
  void thread_started() override;
  void thread_ending() override;
};

// The engine, built (and its thread started) on first use. Any thread.
engine& the_engine();

// Posts `m` to the engine thread, which owns it from then on. Any thread.
void post_to_engine(message* m);

// How the GUI writes the game's castling: as the engine does, but for a
// GUI that writes a Chess960 castling in letters. Engine thread only.
castling_text game_castling_text();

// Ends the process with status 0, as `quit` asks of either front end: puts
// the engine into force mode, silences the timer, gives the engine a moment
// to leave its state (a deferred pong or move is written then), and exits.
[[noreturn]] void quit_engine();

}  // namespace marlek
