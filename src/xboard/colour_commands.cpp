#include "xboard/colour_commands.h"

#include <optional>

#include "board/move.h"
#include "engine/engine_interface.h"

namespace marlek {

namespace {

// The side the last colour word put on move, not yet handed to the engine.
std::optional<std::int32_t> held_side;

}  // namespace

void white_command() { held_side = white; }

void black_command() { held_side = black; }

void settle_colour_word(std::string_view word) {
  if (!held_side || word == "white" || word == "black" || word == "time" || word == "otim") return;
  engine_api::put_on_move(*held_side);
  held_side.reset();
}

}  // namespace marlek
