#pragma once
// The engine's settings that a player changes through the GUI, whatever
// protocol it speaks. Any thread may call these.
#include <cstdint>

namespace marlek {

// The transposition table gets the most entries, a power of two, that fit
// in `megabytes`; it takes the new size at the next set-up of a position
// (a new game), so the game in progress keeps its table.
void request_hash_megabytes(std::uint64_t megabytes);

// Forgets every search result now; the game's repetition counts stay.
void request_clear_hash();

// Whether the engine plays from its opening book (on at start-up).
void set_own_book(bool on);

}  // namespace marlek
