#include "xboard/limit_commands.h"

#include <algorithm>
#include <string>

#include "base/numbers.h"
#include "base/output.h"
#include "engine/engine_interface.h"
#include "xboard/command_line.h"

namespace marlek {

namespace {
// Beyond this the depth means "no limit": analysis stops at 100 plies.
constexpr std::int64_t deepest_plies = 100;
}  // namespace

void st_command() {
  const auto ms = seconds_word(line_rest);
  if (!ms || *ms == 0) {
    output_line("Error: st needs a time in seconds, such as st 2 or st 0.5.");
    return;
  }
  engine_api::set_move_time(*ms);
}

void sd_command() {
  const auto plies = count_word(line_rest);
  if (!plies || *plies == 0) {
    output_line(std::string("Error: ") + words[0] + " needs a depth of at least one ply.");
    return;
  }
  engine_api::set_depth_cap(static_cast<int>(std::min(*plies, deepest_plies)));
}

// A rate of 0 (xboard's "count processor time") is taken as the wall clock.
void nps_command() {
  const auto rate = count_word(line_rest);
  if (!rate) {
    output_line("Error: nps needs a number of nodes per second.");
    return;
  }
  engine_api::set_node_rate(static_cast<std::uint64_t>(*rate));
}

}  // namespace marlek
