#include "xboard/dispatcher.h"

#include <iostream>
#include <string>

#include "base/output.h"
#include "board/move.h"
#include "xboard/bare_move.h"
#include "xboard/colour_commands.h"
#include "xboard/command_line.h"
#include "xboard/command_table.h"
#include "xboard/edit_commands.h"
#include "xboard/negotiation.h"
#include "xboard/protocol_commands.h"

namespace marlek {

namespace {

void refuse_long_line() {
  output_line("Error: command line longer than " + std::to_string(max_line_length) +
              " characters, ignored.");
}

}  // namespace

void dispatch_text(std::string_view line) {
  if (line.size() > max_line_length) {
    refuse_long_line();
    return;
  }
  start_line(line);
  if (take_edit_line()) return;
  note_command_word(words[0]);
  settle_colour_word(words[0]);
  const command_map& table = command_table();
  auto entry = table.find(std::string_view(words[0]));
  if (entry == table.end()) {
    if (is_move_text(words[0]))
      bare_move_command();
    else
      output_line(std::string("Unrecognized command ") + words[0]);
    return;
  }
  entry->second();
}

void dispatch_read_line(line_status status, const std::string& line) {
  switch (status) {
    case line_status::complete: dispatch_text(line); break;
    case line_status::too_long: refuse_long_line(); break;
    case line_status::end_of_input: quit_command();
  }
}

void dispatch_line() {
  static std::string line;
  const line_status status = read_line(std::cin, line);
  dispatch_read_line(status, line);
}

}  // namespace marlek
