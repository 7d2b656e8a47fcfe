#include "protocol/command_table.h"

#include "protocol/clock_commands.h"
#include "protocol/colour_commands.h"
#include "protocol/edit_commands.h"
#include "protocol/game_commands.h"
#include "protocol/negotiation.h"
#include "protocol/protocol_commands.h"

namespace marlek {

const command_map& command_table() {
  // One word a line, in order, so that each word is found and added alone.
  // clang-format off
  static const command_map table{
      {"?", move_now_command},
      {"accepted", accepted_command},
      {"analyze", analyze_command},
      {"black", black_command},
      {"easy", easy_command},
      {"edit", edit_command},
      {"exit", exit_command},
      {"force", force_command},
      {"go", go_command},
      {"hard", hard_command},
      {"ics", ignored_command},
      {"level", level_command},
      {"name", ignored_command},
      {"new", new_command},
      {"nopost", nopost_command},
      {"otim", otim_command},
      {"ping", ping_command},
      {"playother", playother_command},
      {"post", post_command},
      {"protover", protover_command},
      {"quit", quit_command},
      {"random", ignored_command},
      {"rejected", rejected_command},
      {"remove", remove_command},
      {"result", ignored_command},
      {"setboard", setboard_command},
      {"time", time_command},
      {"undo", undo_command},
      {"usermove", usermove_command},
      {"white", white_command},
      {"xboard", ignored_command},
  };
  // clang-format on
  return table;
}

}  // namespace marlek
