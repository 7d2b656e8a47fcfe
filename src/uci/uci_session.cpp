#include "uci/uci_session.h"

#include <iostream>
#include <string>

#include "base/line_reader.h"
#include "base/output.h"
#include "uci/uci_commands.h"
#include "uci/uci_parser.h"

namespace marlek {

namespace {

// A `position` line grows with the game: "moves" and five characters for
// each half-move. This holds games far longer than any played.
constexpr std::size_t uci_line_limit = 1 << 16;

}  // namespace

bool is_uci_greeting(std::string_view line) {
  const auto words = uci_words(line);
  return words.size() == 1 && words[0] == "uci";
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

void run_uci_session(bool greeted) {
  start_uci_engine();
  if (greeted) run_uci_line("uci");
  std::string line;
  for (;;) {
    switch (read_line(std::cin, line, uci_line_limit)) {
      case line_status::complete: run_uci_line(line); break;
      case line_status::too_long:
        output_line("info string line longer than " + std::to_string(uci_line_limit) +
                    " characters, ignored");
        break;
      case line_status::end_of_input: quit_uci();
    }
  }
}

}  // namespace marlek
