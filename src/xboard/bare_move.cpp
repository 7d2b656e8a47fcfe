#include "xboard/bare_move.h"

#include "engine/engine.h"
#include "xboard/command_line.h"
#include "xboard/game_commands.h"
#include "xboard/negotiation.h"

namespace marlek {

namespace {

bool is_file(char c) { return c >= 'a' && c <= 'h'; }
bool is_rank(char c) { return c >= '1' && c <= '8'; }
bool is_promotion(char c) { return c == 'q' || c == 'r' || c == 'b' || c == 'n'; }

}  // namespace

bool is_coordinate_move(std::string_view word) {
  if (word.size() != 4 && word.size() != 5) return false;
  if (!is_file(word[0]) || !is_rank(word[1]) || !is_file(word[2]) || !is_rank(word[3]))
    return false;
  return word.size() == 4 || is_promotion(word[4]);
}

void bare_move_command() {
  negotiated_protocol& record = negotiation();
  // A GUI of version 1 may send the human's first move straight after
  // `xboard` (and a time control), expecting the engine to play Black.
  if (record.version == 1 && !record.game_begun) new_command();
  record.game_begun = true;
  post_to_engine(new user_move(words[0]));
}

}  // namespace marlek
