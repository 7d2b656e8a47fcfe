#include "xboard/bare_move.h"

#include "engine/engine_interface.h"
#include "xboard/command_line.h"
#include "xboard/game_commands.h"
#include "xboard/negotiation.h"

namespace marlek {

void bare_move_command() {
  negotiated_protocol& record = negotiation();
  // A GUI of version 1 may send the human's first move straight after
  // `xboard` (and a time control), expecting the engine to play Black.
  if (record.version == 1 && !record.game_begun) new_command();
  record.game_begun = true;
  engine_api::play_opponent_move(words[0]);
}

}  // namespace marlek
