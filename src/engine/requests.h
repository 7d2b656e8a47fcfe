#pragma once
// The GUI's questions about the position, answered on the engine thread,
// which owns the position: a hint and the book moves.
#include <atomic>

namespace marlek {

class engine;

// Set while the engine is in analysis mode (engine thread writes, any reads).
inline std::atomic<bool> analysing{false};

// Suggests a move for the side to move: the reply the engine expects to
// its last move, while nothing has been played since; otherwise a book
// move; otherwise nothing.
void answer_hint(const engine& eng);

// Lists the book moves of the position with their chances (none when the
// book is switched off).
void list_book_moves();

// Reports where the analysis stands; nothing when the engine does not
// analyse. Any thread: it reads only what the search publishes.
void report_analysis_status();

}  // namespace marlek
