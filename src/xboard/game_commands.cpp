#include "xboard/game_commands.h"

#include "base/numbers.h"
#include "base/output.h"
#include "engine/engine_interface.h"
#include "xboard/command_line.h"
#include "xboard/variant_command.h"

namespace marlek {

void move_now_command() { engine_api::move_now(); }

void analyze_command() { engine_api::enter_analysis(); }

void exit_command() { engine_api::enter_force_mode(); }

void force_command() { engine_api::enter_force_mode(); }

void go_command() { engine_api::think_on_move(); }

// The engine sets up the start position and waits for the opponent with the
// book on: it plays Black unless a `go` follows.
void new_command() { engine_api::new_game(playing_fischerandom()); }

// A ping without a number, or with 0, cannot be answered with a pong the
// GUI could tell apart, so it is refused.
void ping_command() {
  const std::int32_t number = clamp_to_int32(leading_integer(line_rest));
  if (number == 0) {
    output_line("Error: malformed ping command.");
    return;
  }
  engine_api::ping(number);
}

void playother_command() { engine_api::wait_for_opponent(); }

// The FEN is checked by the engine thread when it sets the position up.
void setboard_command() { engine_api::set_position(line_rest, playing_fischerandom()); }

void undo_command() { engine_api::take_back_one(); }

void remove_command() { engine_api::take_back_two(); }

void usermove_command() { engine_api::play_opponent_move(line_rest); }

}  // namespace marlek
