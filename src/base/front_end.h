#pragma once
// The engine's voice towards the GUI, whatever protocol the GUI speaks.
//
// The engine, the search and the game report plain facts here (the move
// chosen, a completed depth, a pong, the end of the game, a move refused, a
// fault in a file or a setting); the front end installed at start-up
// chooses the words and writes them with output_line. Nothing below the
// front ends writes a line of its own. The interface sits in the lowest
// layer, with plain types only (moves as coordinate text), so that every
// layer above can report without knowing the protocol, and each protocol's
// words stay in its own folder.
//
//   class my_words : public front_end { ... };
//   my_words words;
//   install_front_end(&words);   // before the engine thread starts
//
// Until one is installed the engine reports only its faults and refusals,
// each as a line of its own text (the bench, the tools).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace marlek {

// One completed depth of a search.
struct search_report {
  int depth = 0;                // plies
  int line = 0;                 // among several root lines, 1 the best; 0 when there is one
  int score = 0;                // centipawns, side to move's view; ±10000 is a mate
  std::int64_t elapsed_ms = 0;  // since the position was last changed
  std::uint64_t nodes = 0;      // searched since the same moment
  std::vector<std::string> pv;  // the principal variation, coordinate moves
};

// The move a search chose, and the opponent's expected answer to it (empty
// when there is none).
struct best_move_report {
  std::string move;
  std::string predicted_reply;
};

// How a game ended, as the game code found it after a move.
enum class game_end { white_mates, black_mates, stalemate, repetition, fifty_moves };

// A book move of the position and its chance of being played, in percent.
struct book_share {
  std::string move;
  int percent = 0;
};

// Where a running search stands (answered on request while analysing).
struct search_status {
  std::int64_t elapsed_ms = 0;
  std::uint64_t nodes = 0;
  int depth = 0;             // plies of the iteration now running
  int moves_left = 0;        // root moves still to search at this depth
  int moves_total = 0;       // legal root moves
  std::string current_move;  // the root move being searched; may be empty
};

class front_end {
 public:
  virtual ~front_end() = default;

  // The engine's move: written before the engine plays it, when it keeps
  // the game itself, or as its answer to the GUI's search otherwise.
  virtual void best_move(const best_move_report& report) = 0;
  // The engine was to move in a position without a legal move: `mated`, or
  // stalemated.
  virtual void no_legal_move(bool mated) = 0;
  // Whether the GUI is shown the first depths too, which finish at once.
  virtual bool shows_every_depth() const = 0;
  // Whether the GUI writes a Chess960 castling as O-O and O-O-O; otherwise
  // it writes the king taking its own rook, as the engine encodes it.
  virtual bool spells_castling_in_letters() const { return false; }
  // A completed depth, while the GUI wants the thinking shown.
  virtual void thinking(const search_report& report) = 0;
  // The answer to a ping (or a readiness question), once everything sent
  // before it is done.
  virtual void pong(std::int32_t number) = 0;
  // A position the GUI gave cannot be set up, for `reason`; the engine
  // keeps the game it had.
  virtual void position_refused(std::string_view reason) = 0;
  // The GUI's move `text` is not legal here (or not a move at all).
  virtual void illegal_move(std::string_view text) = 0;
  // Anything else that went wrong or was refused: a file that cannot be
  // read, memory that cannot be had, a command the engine cannot carry out
  // now. `text` is the engine's own line for it, as an xboard GUI is shown
  // it ("Error: ..."); another protocol may reword it.
  virtual void complaint(std::string_view text) = 0;

  // Answers that only some protocols have words for; by default a front
  // end says nothing.
  // A game move ended the game.
  virtual void game_over(game_end) {}
  // A suggested move for the side to move.
  virtual void hint(std::string_view) {}
  // The book moves of the position (empty when it is out of the book).
  virtual void book_moves(const std::vector<book_share>&) {}
  // Where the search stands.
  virtual void status(const search_status&) {}
};

// Installs `words` as the engine's front end (nullptr: the plain one) and
// returns the one it replaces. The object must outlive every thread that
// reports. Any thread.
front_end* install_front_end(front_end* words);

// The installed front end, or the plain one. Any thread.
front_end& reporter();

}  // namespace marlek
