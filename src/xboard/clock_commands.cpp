#include "xboard/clock_commands.h"

#include <cstdint>
#include <cstring>

#include "base/output.h"
#include "engine/move_limits.h"
#include "engine/time_control.h"
#include "xboard/command_line.h"
#include "xboard/number_words.h"

namespace marlek {

namespace {

constexpr int level_words = 4;
constexpr int clock_words = 2;
constexpr std::int64_t seconds_per_minute = 60;

// BASE of `level`: minutes, or minutes:seconds.
std::int64_t base_seconds(const char* base) {
  std::int64_t seconds = std::int64_t{leading_integer(base)} * seconds_per_minute;
  if (const char* colon = std::strchr(base, ':')) seconds += leading_integer(colon + 1);
  return seconds;
}

// `time` and `otim`: one number, the remaining centiseconds of a side.
void clock_command(void (*set)(std::int32_t), const char* error_text) {
  split_rest();
  if (word_count != clock_words) {
    output_line(error_text);
    return;
  }
  set(leading_integer(words[1]));
}

}  // namespace

void level_command() {
  split_rest();
  if (word_count != level_words) {
    output_line("Error: level command format.");
    return;
  }
  // The increment may have a fraction: level 0 1 0.5.
  set_time_control(leading_integer(words[1]), base_seconds(words[2]), leading_seconds_ms(words[3]));
  // A clock replaces a fixed time per move.
  move_limits.move_time_ms.store(0, std::memory_order_relaxed);
}

void time_command() { clock_command(set_own_time, "Error: Improper time format."); }

void otim_command() { clock_command(set_opp_time, "Error: Improper otim format."); }

}  // namespace marlek
