#include "protocol/command_table.h"

#include "protocol/clock_commands.h"
#include "protocol/game_commands.h"
#include "protocol/limit_commands.h"
#include "protocol/option_commands.h"
#include "protocol/protocol_commands.h"
#include "protocol/request_commands.h"

namespace marlek {

const command_map& command_table() {
  static const command_map table{
      {".", status_command},
      {"?", move_now_command},
      {"accepted", ignored_command},
      {"analyze", analyze_command},
      {"bk", bk_command},
      {"computer", noted_command},
      {"cores", noted_command},
      {"depth", sd_command},
      {"draw", noted_command},
      {"easy", easy_command},
      {"exit", exit_command},
      {"force", force_command},
      {"go", go_command},
      {"hard", hard_command},
      {"hint", hint_command},
      {"ics", ignored_command},
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
      {"protover", ignored_command},
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
      {"xboard", ignored_command},
  };
  return table;
}

}  // namespace marlek
