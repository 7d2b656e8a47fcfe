#include "uci/uci_session.h"

#include <iostream>
#include <string>

#include "base/front_end.h"
#include "base/line_reader.h"
#include "base/output.h"
#include "engine/engine_interface.h"
#include "uci/uci_commands.h"
#include "uci/uci_output.h"
#include "uci/uci_parser.h"

namespace marlek {

namespace {

// A `position` line grows with the game: "moves" and five characters for
// each half-move. This holds games far longer than any played.
constexpr std::size_t uci_line_limit = 1 << 16;

uci_output words;

}  // namespace

bool is_uci_greeting(std::string_view line) {
  const auto words = uci_words(line);
  return words.size() == 1 && words[0] == "uci";
}

void speak_uci() { install_front_end(&words); }

void run_uci_session(bool greeted) {
  speak_uci();
  // A UCI GUI asks for pondering itself, with `go ponder`.
  engine_api::set_pondering(false);
  engine_api::set_game(true, {}, {});
  if (greeted) run_uci_line("uci");
  std::string line;
  for (;;) {
    switch (read_line(std::cin, line, uci_line_limit)) {
      case line_status::complete: run_uci_line(line); break;
      case line_status::too_long:
        output_line("info string line longer than " + std::to_string(uci_line_limit) +
                    " characters, ignored");
        break;
      case line_status::end_of_input: engine_api::quit();
    }
  }
}

void run_uci_line(std::string_view line) {
  const auto words = uci_words(line);
  if (words.empty()) return;  // GUIs may send empty lines; UCI ignores them
  if (const uci_handler handler = find_uci_command(words[0])) {
    handler(words);
    return;
  }
  output_line("info string unknown command '" + std::string(words[0]) + "'");
}

}  // namespace marlek
