// How the GUI writes the game's castling, apart from the engine thread's
// own file so that a front end's fuzz target can link without the thread.
#include "base/front_end.h"
#include "board/castling.h"
#include "engine/engine.h"

namespace marlek {

castling_text game_castling_text() {
  return chess960_game && reporter().spells_castling_in_letters() ? castling_text::castling_letters
                                                                  : castling_text::coordinate;
}

}  // namespace marlek
