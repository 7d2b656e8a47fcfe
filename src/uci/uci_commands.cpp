#include "uci/uci_commands.h"

#include <map>
#include <string>

#include "base/output.h"
#include "engine/engine_interface.h"
#include "uci/uci_options.h"
#include "uci/uci_parser.h"

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
// does not answer. The engine thread answers once it has dealt with every
// command before it, so "readyok" also means that a `position` or
// `setoption` has been taken in; during a search it answers at once, and
// the search goes on.
void isready_command(const word_list&) { engine_api::ask_ready(); }

void setoption_command(const word_list& words) {
  uci_setoption option;
  std::string error;
  if (!parse_setoption(words, option, error) || !apply_uci_option(option, error))
    refuse("setoption: " + error);
}

// A fresh set-up: the tables start empty, at the size the GUI asked for.
void ucinewgame_command(const word_list&) {
  engine_api::set_position(engine_api::start_position(), uci_chess960());
}

// The moves are played as the game's own moves, so that a repetition or the
// fifty-move rule counts them.
void position_command(const word_list& words) {
  uci_position position;
  std::string error;
  if (!parse_position(words, position, error)) {
    refuse("position: " + error + "; the position is unchanged");
    return;
  }
  engine_api::set_game(position.from_start, std::move(position.fen), std::move(position.moves),
                       uci_chess960());
}

void go_command(const word_list& words) {
  search_request request;
  std::string unknown;
  if (!parse_go(words, request, unknown)) refuse("go: " + unknown + "; ignored");
  engine_api::start_search(std::move(request));
}

void stop_command(const word_list&) { engine_api::stop_search(); }

void ponderhit_command(const word_list&) { engine_api::ponder_hit(); }

void quit_command(const word_list&) { engine_api::quit(); }

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

}  // namespace marlek
