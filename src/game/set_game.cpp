// A whole game given at once: a set-up and the moves played from it, as a
// GUI that keeps the game itself sends it before each search. Mostly the
// game only grows by the moves since the last search, and then only those
// are played: a fresh set-up would empty the transposition table every
// move.
#include <algorithm>

#include "game/root.h"

namespace marlek {

namespace {

// The board must stand where the game's moves left it: the book loader,
// for one, plays its lines on the board without a game.
bool continues_current_game(const std::string& fen, const move::move_vector& moves, bool chess960) {
  const auto& played = root::game_record;
  return !root::set_up_text.empty() && fen == root::set_up_text &&
         chess960 == root::set_up_as_chess960 && played.size() <= moves.size() &&
         std::equal(played.begin(), played.end(), moves.begin()) && !root::game_positions.empty() &&
         root::game_positions.back() == snapshot_of_position();
}

// Plays moves[from...]; on the first that is not legal, takes back those
// it played and names that move in `refused`.
bool play_moves(const move::move_vector& moves, std::size_t from, std::size_t& refused) {
  for (std::size_t i = from; i < moves.size(); ++i) {
    if (root::play_move(moves[i]) != play_result::not_legal) continue;
    for (std::size_t j = from; j < i; ++j) root::take_back();
    refused = i;
    return false;
  }
  return true;
}

// Sets the game up again as it was. When there was no sound set-up before,
// there is no position again.
void restore(const std::string& fen, const move::move_vector& moves, bool chess960) {
  if (fen.empty()) {
    root::clear_board();
    return;
  }
  root::SetBoard(fen.c_str(), nullptr, chess960);
  for (move m : moves) root::play_move(m);
}

}  // namespace

game_set_up root::set_up_game(const std::string& fen, const move::move_vector& moves,
                              std::size_t& refused, std::string& refusal, bool chess960) {
  if (continues_current_game(fen, moves, chess960))
    return play_moves(moves, game_record.size(), refused) ? game_set_up::done
                                                          : game_set_up::illegal_move;
  const std::string old_fen = set_up_text;
  const move::move_vector old_moves = game_record;
  const bool old_chess960 = set_up_as_chess960;
  game_set_up outcome = game_set_up::done;
  if (!SetBoard(fen.c_str(), &refusal, chess960))
    outcome = game_set_up::bad_fen;
  else if (!play_moves(moves, 0, refused))
    outcome = game_set_up::illegal_move;
  if (outcome != game_set_up::done) restore(old_fen, old_moves, old_chess960);
  return outcome;
}

}  // namespace marlek
