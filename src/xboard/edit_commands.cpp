#include "xboard/edit_commands.h"

#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include "base/output.h"
#include "board/move.h"
#include "engine/engine_interface.h"
#include "xboard/command_line.h"

namespace marlek {

namespace {

struct edit_session {
  bool open = false;
  std::int32_t colour = white;
  std::array<char, 64> changes{};  // as engine_api::edit_position takes them
};

edit_session session;

// Pe4 (a piece of the current colour) or xe4 (empty): the square's new
// content, or '\0' when the word is neither.
char placed_letter(std::string_view word, int& square_index) {
  if (word.size() != 3 || word[1] < 'a' || word[1] > 'h' || word[2] < '1' || word[2] > '8')
    return '\0';
  square_index = 8 * (word[2] - '1') + (word[1] - 'a');
  const char piece = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  if (piece == 'X') return '.';
  if (std::string_view("PNBRQK").find(piece) == std::string_view::npos) return '\0';
  return session.colour == white
             ? piece
             : static_cast<char>(std::tolower(static_cast<unsigned char>(piece)));
}

void close_edit() {
  engine_api::edit_position(session.changes);
  session.open = false;
}

}  // namespace

void edit_command() { session = edit_session{true, white, {}}; }

bool take_edit_line() {
  if (!session.open) return false;
  const std::string_view word(words[0]);
  int square_index = 0;
  if (word == "quit") return false;
  if (word == ".") {
    close_edit();
  } else if (word == "#") {
    session.changes.fill('.');
  } else if (word == "c") {
    session.colour = 1 - session.colour;
  } else if (const char letter = placed_letter(word, square_index)) {
    session.changes[square_index] = letter;
  } else {
    output_line("Error (not an edit command, . ends the edit): " + std::string(word));
  }
  return true;
}

}  // namespace marlek
