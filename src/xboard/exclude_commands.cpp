#include "xboard/exclude_commands.h"

#include <string_view>

#include "engine/engine_interface.h"
#include "xboard/command_line.h"

namespace marlek {

namespace {
// No move is written "all"; the engine reads every other word as a move.
bool names_all_moves() { return std::string_view(line_rest) == "all"; }
}  // namespace

void exclude_command() {
  if (names_all_moves())
    engine_api::exclude_all_moves();
  else
    engine_api::exclude_move(line_rest);
}

void include_command() {
  if (names_all_moves())
    engine_api::include_all_moves();
  else
    engine_api::include_move(line_rest);
}

}  // namespace marlek
