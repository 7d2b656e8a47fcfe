#include "xboard/command_table.h"

#include "xboard/clock_commands.h"
#include "xboard/colour_commands.h"
#include "xboard/edit_commands.h"
#include "xboard/exclude_commands.h"
#include "xboard/game_commands.h"
#include "xboard/limit_commands.h"
#include "xboard/negotiation.h"
#include "xboard/option_commands.h"
#include "xboard/protocol_commands.h"
#include "xboard/request_commands.h"
#include "xboard/variant_command.h"

namespace marlek {

const command_map& command_table() {
  // One word a line, in order, so that each word is found and added alone.
  // clang-format off
  static const command_map table{
      {".", status_command},
      {"?", move_now_command},
      {"accepted", accepted_command},
      {"analyze", analyze_command},
      {"black", black_command},
      {"bk", bk_command},
      {"computer", noted_command},
      {"cores", cores_command},
      {"depth", sd_command},
      {"draw", noted_command},
      {"easy", easy_command},
      {"edit", edit_command},
      {"exclude", exclude_command},
      {"exit", exit_command},
      {"force", force_command},
      {"go", go_command},
      {"hard", hard_command},
      {"hint", hint_command},
      {"ics", ignored_command},
      {"include", include_command},
      {"level", level_command},
      {"memory", memory_command},
      {"name", ignored_command},
      {"new", new_command},
      {"nopost", nopost_command},
      {"nps", nps_command},
      {"otim", otim_command},
      {"option", option_command},
      {"ping", ping_command},
      {"playother", playother_command},
      {"post", post_command},
      {"protover", protover_command},
      {"quit", quit_command},
      {"random", ignored_command},
      {"rating", noted_command},
      {"rejected", rejected_command},
      {"remove", remove_command},
      {"result", ignored_command},
      {"sd", sd_command},
      {"setboard", setboard_command},
      {"st", st_command},
      {"time", time_command},
      {"undo", undo_command},
      {"usermove", usermove_command},
      {"variant", variant_command},
      {"white", white_command},
      {"xboard", ignored_command},
  };
  // clang-format on
  return table;
}

}  // namespace marlek
