// How the GUI writes the game's castling. Kept apart from the engine
// thread's own file: the front ends and the engine's answers ask it, and
// a fuzz target that stands in for post_to_engine must be able to link
// them without the engine thread.
#include "base/front_end.h"
#include "board/castling.h"
#include "engine/engine.h"

namespace marlek {

castling_text game_castling_text() {
  return chess960_game && reporter().spells_castling_in_letters() ? castling_text::castling_letters
                                                                  : castling_text::coordinate;
}

}  // namespace marlek
