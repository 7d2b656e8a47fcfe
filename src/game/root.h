#pragma once
// `root` owns the game: it sets positions up from FEN text (set_up.cpp) and
// plays and takes back the moves of the game (game.cpp).
#include <cstddef>
#include <string>
#include <vector>

#include "board/position.h"
#include "board/repetition.h"

namespace marlek {

enum class play_result {
  not_legal = 0,
  game_goes_on = 1,
  draw_by_repetition = 2,
  draw_by_fifty_moves = 3,
  stalemate = 4,
  checkmate = 5,
};

// What set_game made of the game it was given.
enum class game_set_up { done, bad_fen, illegal_move };

class root : public position {
 public:
  // Every move made by play_move since the last set-up, in order.
  static inline move::move_vector game_record;
  // The set-up position and every position a move of game_record reached,
  // in order: the repetition rule counts in here.
  static inline std::vector<position_snapshot> game_positions;
  // The FEN text of the last set-up, empty after a rejected one, and
  // whether it was asked to set up a Chess960 game.
  static inline std::string set_up_text;
  static inline bool set_up_as_chess960 = false;

  // Replaces the position by the one a FEN text describes. A bad text gets
  // one line on standard output and leaves an empty board with an empty root
  // move list, so that no move is accepted until the next good set-up.
  // Returns whether the text was accepted.
  // With `refusal`, the line goes there instead. With `chess960` the game
  // is Chess960 whatever the text looks like (a front end's UCI_Chess960 or
  // variant fischerandom); a Shredder-FEN castling field makes it one too
  // (set_up_board, board/fen.h).
  static bool SetBoard(const char* text, std::string* refusal = nullptr, bool chess960 = false);

  // Deletes every piece and empties the board, the stacks of the game and
  // the root move list.
  static void clear_board();

  // Game moves (game.cpp). play_move returns not_legal when `m` is not a
  // legal move here (nothing changes), game_goes_on when it was made, and
  // one of the endings when it was made and ended the game, after writing
  // the result line.
  static play_result play_move(move m);
  // Sets the game up as the position of `fen` followed by `moves`, played as
  // game moves so that repetitions and the fifty-move rule count them. A
  // game that continues the current one (the same set-up text, the moves
  // played so far as its first moves) only plays the new moves, and the
  // search keeps what its tables know. A bad FEN, or a move that is not
  // legal (its index goes to `refused`), leaves the current game as it was;
  // what is wrong with a bad FEN goes to `refusal`. `chess960` as for
  // SetBoard; a game continues only under the same flag.
  static game_set_up set_up_game(const std::string& fen, const move::move_vector& moves,
                                 std::size_t& refused, std::string& refusal, bool chess960 = false);

  // Takes back the last move of the game; refused (false, nothing changes)
  // when no move was played since the last set-up.
  static bool take_back();
  // Takes back the last two moves of the game, or nothing (false) when
  // fewer than two were played since the last set-up.
  static bool take_back_pair();

  // Empties the transposition table of every search result; the game's
  // counts of its positions are kept (set_up.cpp).
  static void clear_hash();
};

inline constexpr const char* start_position_fen =
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 0";

}  // namespace marlek
