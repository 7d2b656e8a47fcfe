#pragma once
// Iterative deepening from the root, the root search, and the thinking
// output that reports each completed depth.
#include <iosfwd>
#include <vector>

#include "board/move.h"
#include "search/depth.h"

namespace marlek {

// Whether a search may write thinking lines: `as_posting` follows
// post_thinking, read afresh for every line, so that the GUI's `post` and
// `nopost` take effect at once; `silent` writes none (pondering, the bench).
enum class thinking_output { as_posting, silent };
// The line written before the first iteration, with what the root's entry
// holds: left out when a search resumes after an interruption.
enum class opening_line { written, left_out };
// Shows every line that a search of several root lines finds.
inline constexpr int every_line = 1 << 30;

// Searches the global position again and again, one ply deeper each time,
// with a window of 25 centipawns around the previous result, using `search`
// (search_root, or alpha_beta while pondering). Stops when the next depth
// would exceed `max_depth_hundredths`, on a mate score, or at once when a
// message waits for the engine. With search_root it keeps best_move on the
// best root move of the last completed iteration. While posting, writes a
// thinking line first and then one per completed depth above two plies.
// Keeps completed_depth on the last depth completed. Does nothing for a
// position without legal moves, nor when the root search may search none.
//
// With search_root and `root_lines` above 1, every depth finds that many
// lines, each starting with another root move (as many as there are moves
// to search, when fewer), writes the best `shown_lines` of them, best first
// (a single one as the one line of a plain search), and keeps them all in
// completed_lines; iterate.cpp tells how.
void iterative_deepening(int max_depth_hundredths, search_fn search,
                         thinking_output output = thinking_output::as_posting,
                         opening_line opening = opening_line::written, int root_lines = 1,
                         int shown_lines = every_line);

// The root node: searches the legal root moves, the stored best move first.
int search_root(int depth, int alpha, int beta);

// The principal variation stored in the transposition table, from the
// current position, stopping where a position repeats or a stored move is
// not legal.
std::vector<move> principal_variation();
// Writes it, each move followed by one space.
void print_pv(std::ostream& out);

}  // namespace marlek
