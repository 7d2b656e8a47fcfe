#pragma once
// Messages: the only way one thread talks to a worker thread. The sender
// creates a message with `new` and posts it; from then on the receiver owns
// it, and whichever handler consumes it deletes it through a `message`
// pointer. Receivers switch on `kind` and then cast to the class that the
// kind stands for; each class names its kind as `kind_id`.
//
// Kinds 5 to 9 are unused; 23 and 24 are the set-ups of set_up_messages.h,
// 26 to 28 the searches of search_messages.h; 29 sets the search threads;
// -99 is the worker's own `quit`, private to mt_object.cpp.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/line_limit.h"
#include "board/move.h"

namespace marlek {

class mt_object;

struct message {
  explicit message(std::int32_t k) : kind(k) {}
  virtual ~message() = default;
  message(const message&) = delete;
  message& operator=(const message&) = delete;

  std::int32_t kind;
};

// The timer's answer to an alarm: the deadline (clock_millis) that expired.
struct times_up : message {
  static constexpr std::int32_t kind_id = 1;
  explicit times_up(std::int64_t when) : message(kind_id), deadline(when) {}
  std::int64_t deadline;
};

// A message that names the worker to be called back.
struct callback : message {
  callback(std::int32_t k, mt_object* to) : message(k), target(to) {}
  mt_object* target;
};

// An alarm request to the timer: tell `target` when the clock reaches
// `deadline` (clock_millis).
struct set_timer : callback {
  static constexpr std::int32_t kind_id = 2;
  set_timer(mt_object* to, std::int64_t when) : callback(kind_id, to), deadline(when) {}
  std::int64_t deadline;
};

// Commands that carry nothing but their kind.
template <std::int32_t N>
struct simple_message : message {
  static constexpr std::int32_t kind_id = N;
  simple_message() : message(N) {}
};

using force = simple_message<10>;         // enter force mode
using analyze = simple_message<11>;       // enter analysis mode
using go = simple_message<12>;            // take the side to move and think
using go_now = simple_message<13>;        // move at once if thinking
using play_other = simple_message<16>;    // wait for the opponent's move
using undo = simple_message<17>;          // take back one move
using remove_pair = simple_message<18>;   // take back the last two moves
using clear_hash = simple_message<20>;    // forget every search result
using hint_request = simple_message<21>;  // suggest a move for the side to move
using book_request = simple_message<22>;  // list the book moves of the position
// The number of root lines to show changed: a running search starts its
// iteration again, every other mode goes on as it was.
using root_lines_changed = simple_message<3>;

// The GUI's choice of the root moves to search in the current position:
// one move (as the GUI wrote it, read on the engine thread) left out or
// taken back in, or all of them. A new position searches every move again.
struct root_choice : message {
  static constexpr std::int32_t kind_id = 4;
  enum class change { exclude, include, exclude_all, include_all };
  root_choice(change what_changes, std::string_view text)
      : message(kind_id), what(what_changes), move_text(text) {}
  change what;
  std::string move_text;  // empty for all moves
};

// The opponent's move, as read from the command line, and the text it was
// read from, for the error line that names it; legality is the engine
// thread's to judge.
struct user_move : message {
  static constexpr std::int32_t kind_id = 14;
  static constexpr std::size_t text_size = max_line_length + 1;
  // Copies the text, cut to the room of `text`, and reads the move from it.
  explicit user_move(std::string_view move_text);
  char text[text_size];
  move mv;
};

// A position to set up, as FEN text. The text holds any command line whole.
// `chess960`: the game is one of Chess960, whatever the FEN's castling field.
struct setboard : message {
  static constexpr std::int32_t kind_id = 15;
  static constexpr std::size_t text_size = max_line_length + 1;
  // Copies the FEN, cut to the room of `text` (never more than a command
  // line holds), and ends it with a NUL.
  explicit setboard(std::string_view fen, bool chess960_game = false);
  char text[text_size];
  bool chess960;
};

// A whole game to set up: a FEN and the moves played from it, as a GUI
// that keeps the game itself sends it before every search. The engine
// thread reports a bad FEN or an illegal move and then keeps its old game.
struct set_game : message {
  static constexpr std::int32_t kind_id = 25;
  set_game(std::string fen_text, std::vector<std::string> move_texts, bool chess960_game = false)
      : message(kind_id),
        fen(std::move(fen_text)),
        moves(std::move(move_texts)),
        chess960(chess960_game) {}
  std::string fen;
  std::vector<std::string> moves;  // coordinate notation
  bool chess960;
};

// The number of threads the searches from now on use, the engine's own
// included.
struct set_threads : message {
  static constexpr std::int32_t kind_id = 29;
  explicit set_threads(int n) : message(kind_id), count(n) {}
  int count;
};

// A ping to answer with "pong" and the same number; never 0.
struct ping : message {
  static constexpr std::int32_t kind_id = 19;
  explicit ping(std::int32_t n) : message(kind_id), number(n) {}
  std::int32_t number;
};

}  // namespace marlek
