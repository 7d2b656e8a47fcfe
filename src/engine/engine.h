#pragma once
// The engine thread: it holds the game. Every command that touches the
// position reaches it as a message, and it alone makes moves on the global
// position, searches, and writes the "move", result and "pong" lines.
//
// Its behaviour is a state machine with one state per protocol mode:
//   eforce    force mode: plays neither side (the initial state)
//   eanalyze  analysis: searches the position until a message arrives
//   eponder   waits for the opponent's move, optionally thinking meanwhile
//   ego       on move: book, time budget and alarm, search, "move" line
// A running search stops because a message is waiting for this thread (the
// engine installs that question as the search's stop poll), and the current
// state then handles that message; a ponder search also stops as soon as
// pondering is switched off.
#include <cstdint>

#include "board/keys.h"
#include "book/book_choice.h"
#include "threads/message.h"
#include "threads/mt_object.h"
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

class ego : public eforce {
 public:
  using eforce::eforce;
  void enter() override;
  void execute() override;
  void handle(message* m) override;
  void leave() override;

 private:
  // Sets the alarm or the node limit of this move.
  void limit_the_move();
  // The depth in plies the engine itself allows this move.
  int own_depth() const;
  // Writes the "move" line for the chosen root move and plays it.
  void play_best();

  std::int32_t pending_ping = 0;  // answered when the engine leaves this state
  std::int64_t deadline = 0;      // of the alarm set on entry (clock_millis)
  bool adaptive = true;           // the move follows the adaptive depth limit
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
  // The opponent's expected reply to the engine's last move, good while
  // the position is still the one that move reached (expected_at).
  // Engine thread only.
  move expected_reply;
  hash_key expected_at;
  bool has_expected_reply = false;
};

// The engine, built (and its thread started) on first use. Any thread.
engine& the_engine();

// Posts `m` to the engine thread, which owns it from then on. Any thread.
void post_to_engine(message* m);

// Ends the process with status 0, as `quit` asks of either front end: puts
// the engine into force mode, silences the timer, gives the engine a moment
// to leave its state (a deferred pong or move is written then), and exits.
[[noreturn]] void quit_engine();

}  // namespace marlek
