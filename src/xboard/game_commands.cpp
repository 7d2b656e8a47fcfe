#include "xboard/game_commands.h"

#include "base/flags.h"
#include "base/output.h"
#include "engine/engine.h"
#include "engine/move_limits.h"
#include "game/root.h"
#include "xboard/command_line.h"

namespace marlek {

void move_now_command() { post_to_engine(new go_now); }

void analyze_command() { post_to_engine(new analyze); }

void exit_command() { post_to_engine(new force); }

void force_command() { post_to_engine(new force); }

void go_command() { post_to_engine(new go); }

// The engine sets up the start position and waits for the opponent with the
// book on: it plays Black unless a `go` follows. Force mode first stops any
// search of the old game, so that no move of it, and no move for White in
// the new one, is played before the engine waits. A new game keeps the time
// control, `st` included, but not the depth or the node rate, as the GUI
// expects.
void new_command() {
  move_limits.depth_cap.store(0, std::memory_order_relaxed);
  move_limits.node_rate.store(0, std::memory_order_relaxed);
  post_to_engine(new force);
  post_to_engine(new setboard(start_position_fen));
  use_book.store(true, std::memory_order_relaxed);
  post_to_engine(new play_other);
}

// A ping without a number, or with 0, cannot be answered with a pong the
// GUI could tell apart, so it is refused.
void ping_command() {
  std::int32_t number = leading_integer(line_rest);
  if (number == 0) {
    output_line("Error: malformed ping command.");
    return;
  }
  post_to_engine(new ping(number));
}

void playother_command() { post_to_engine(new play_other); }

// The FEN is checked by the engine thread when it sets the position up. A
// set-up position is not from the book's games, so the book is switched off.
void setboard_command() {
  post_to_engine(new setboard(line_rest));
  use_book.store(false, std::memory_order_relaxed);
}

void undo_command() { post_to_engine(new undo); }

void remove_command() { post_to_engine(new remove_pair); }

void usermove_command() { post_to_engine(new user_move(line_rest)); }

}  // namespace marlek
