#include "uci/uci_commands.h"

#include <map>
#include <string>

#include "base/flags.h"
#include "base/output.h"
#include "engine/engine.h"
#include "uci/uci_options.h"
#include "uci/uci_parser.h"
#include "uci/uci_search.h"

namespace marlek {

namespace {

using word_list = std::vector<std::string_view>;

void refuse(const std::string& reason) { output_line("info string " + reason); }

void uci_command(const word_list&) {
  output_line("id name Marlek 4.4.6");
  output_line("id author The Marlek authors");
  list_uci_options();
  output_line("uciok");
}

// Testers send `isready` before every move and give up on an engine that
// does not answer. During a search the answer comes at once; otherwise the
// engine thread answers once it has dealt with every command before, so
// that "readyok" also means that a `position` or `setoption` has been
// taken in.
void isready_command(const word_list&) { answer_when_ready(); }

void setoption_command(const word_list& words) {
  uci_setoption option;
  std::string error;
  if (!parse_setoption(words, option, error) || !apply_uci_option(option, error))
    refuse("setoption: " + error);
}

void ucinewgame_command(const word_list&) {
  finish_search();
  start_new_game();
}

// The moves are played as the game's own moves, so that a repetition or the
// fifty-move rule counts them. A game from the start position may use the
// book; one from a FEN is not from the book's games.
void position_command(const word_list& words) {
  uci_position position;
  std::string error;
  if (!parse_position(words, position, error)) {
    refuse("position: " + error + "; the position is unchanged");
    return;
  }
  finish_search();
  use_book.store(position.from_start, std::memory_order_relaxed);
  note_side_to_move(position);
  post_to_engine(new set_game(std::move(position.fen), std::move(position.moves)));
}

void go_command(const word_list& words) {
  uci_go go;
  std::string unknown;
  if (!parse_go(words, go, unknown)) refuse("go: " + unknown + "; ignored");
  start_search(go);
}

void stop_command(const word_list&) { stop_search(); }

void ponderhit_command(const word_list&) { ponder_hit(); }

void quit_command(const word_list&) { quit_uci(); }

// `debug` and `register` ask for nothing this engine has.
void ignored_command(const word_list&) {}

}  // namespace

uci_handler find_uci_command(std::string_view word) {
  static const std::map<std::string_view, uci_handler> table = {
      {"debug", ignored_command},
      {"go", go_command},
      {"isready", isready_command},
      {"ponderhit", ponderhit_command},
      {"position", position_command},
      {"quit", quit_command},
      {"register", ignored_command},
      {"setoption", setoption_command},
      {"stop", stop_command},
      {"uci", uci_command},
      {"ucinewgame", ucinewgame_command},
  };
  const auto entry = table.find(word);
  return entry == table.end() ? nullptr : entry->second;
}

void quit_uci() { quit_engine(); }

}  // namespace marlek
