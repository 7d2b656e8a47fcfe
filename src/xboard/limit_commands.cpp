#include "xboard/limit_commands.h"

#include <algorithm>
#include <string>

#include "base/output.h"
#include "engine/move_limits.h"
#include "xboard/command_line.h"
#include "xboard/number_words.h"

namespace marlek {

namespace {
// Beyond this the depth means "no limit": analysis stops at 100 plies.
constexpr std::uint64_t deepest_plies = 100;
}  // namespace

void st_command() {
  const auto ms = seconds_word(line_rest);
  if (!ms || *ms == 0) {
    output_line("Error: st needs a time in seconds, such as st 2 or st 0.5.");
    return;
  }
  move_limits.move_time_ms.store(*ms, std::memory_order_relaxed);
}

void sd_command() {
  const auto plies = count_word(line_rest);
  if (!plies || *plies == 0) {
    output_line(std::string("Error: ") + words[0] + " needs a depth of at least one ply.");
    return;
  }
  move_limits.depth_cap.store(static_cast<int>(std::min(*plies, deepest_plies)),
                              std::memory_order_relaxed);
}

// A rate of 0 (xboard's "count processor time") is taken as the wall clock.
void nps_command() {
  const auto rate = count_word(line_rest);
  if (!rate) {
    output_line("Error: nps needs a number of nodes per second.");
    return;
  }
  move_limits.node_rate.store(*rate, std::memory_order_relaxed);
}

}  // namespace marlek
