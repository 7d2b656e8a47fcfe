#pragma once
// Keeping the history table (search_state.h): quiet moves that caused a
// cut-off are searched earlier the next time.
#include "board/move.h"

namespace marlek {

// A quiet move caused a cut-off.
void reward_history(move m);
// After each game move: halves every counter so that old merit fades.
void age_history();
// For a new game or set-up position.
void clear_history();

}  // namespace marlek
