#pragma once
// `root` owns the game: it sets positions up from FEN text and (game.cpp)
// plays and takes back the moves of the game.
#include "board/position.h"

namespace marlek {

class root : public position {
 public:
  // Every move made by play_move since the last set-up, in order.
  static inline move::move_vector game_record;

  // Replaces the position by the one a FEN text describes. A bad text gets
  // one line on standard output and leaves an empty board with an empty root
  // move list, so that no move is accepted until the next good set-up.
  // Returns whether the text was accepted.
  static bool SetBoard(const char* text);

  // Deletes every piece and empties the board and the stacks of the game.
  static void clear_board();

  // Game moves (game.cpp). play_move returns 0 when `m` is not a legal move
  // here (nothing changes), 1 when it was made and the game goes on, and
  // 2 (repetition), 3 (fifty-move rule), 4 (stalemate) or 5 (mate) when it
  // was made and ended the game, after writing the result line.
  static int play_move(move m);
  // Takes back the last move of the game; refused (false, nothing changes)
  // when no move was played since the last set-up.
  static bool take_back();
};

inline constexpr const char* start_position_fen =
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 0";

}  // namespace marlek
