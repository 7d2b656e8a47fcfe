#include "xboard/negotiation.h"

#include <algorithm>
#include <array>

#include "base/numbers.h"
#include "xboard/command_line.h"

namespace marlek {

namespace {

// The commands after which the engine's game and side are the GUI's doing.
// `usermove` is among them: a GUI that sends it has set the game up itself.
constexpr std::array<std::string_view, 14> game_words = {
    "analyze",   "black",    "edit",   "exit",     "force", "go",       "new",
    "playother", "protover", "remove", "setboard", "undo",  "usermove", "white"};

// The feature named by the argument text: its first word.
std::string_view feature_name() {
  std::string_view rest(line_rest);
  return rest.substr(0, rest.find(' '));
}

}  // namespace

negotiated_protocol& negotiation() {
  static negotiated_protocol record;
  return record;
}

void protover_command() {
  negotiation().version = std::max(2, clamp_to_int32(leading_integer(line_rest)));
}

void accepted_command() {
  const std::string_view name = feature_name();
  if (name == "usermove") negotiation().usermove = true;
  if (name == "setboard") negotiation().setboard = true;
}

void rejected_command() {
  negotiated_protocol& record = negotiation();
  const std::string_view name = feature_name();
  if (name == "usermove") record.usermove = false;
  if (name == "setboard") record.setboard = false;
  if (record.rejected.size() < negotiated_protocol::max_noted) record.rejected.emplace(name);
}

void note_command_word(std::string_view word) {
  if (std::find(game_words.begin(), game_words.end(), word) != game_words.end())
    negotiation().game_begun = true;
}

}  // namespace marlek
