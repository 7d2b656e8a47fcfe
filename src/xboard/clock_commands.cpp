#include "xboard/clock_commands.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/numbers.h"
#include "base/output.h"
#include "engine/engine_interface.h"
#include "xboard/command_line.h"

namespace marlek {

namespace {

constexpr int level_words = 4;
constexpr int clock_words = 2;
constexpr std::int64_t millis_per_second = 1000;
constexpr std::int64_t seconds_per_minute = 60;

// BASE of `level`: minutes, or minutes:seconds, as milliseconds; nothing
// when the seconds are not those of a minute.
std::optional<std::int64_t> base_ms(std::string_view base) {
  // Far more minutes than any clock; beyond, the product would overflow.
  constexpr std::int64_t most_minutes = number_limit / (seconds_per_minute * millis_per_second);
  std::int64_t seconds =
      std::clamp(leading_integer(base), -most_minutes, most_minutes) * seconds_per_minute;
  if (const std::size_t colon = base.find(':'); colon != std::string_view::npos) {
    const std::int64_t extra = leading_integer(base.substr(colon + 1));
    if (extra < 0 || extra >= seconds_per_minute) return std::nullopt;
    seconds += extra;
  }
  return seconds * millis_per_second;
}

void refuse_level(const std::string& why) {
  output_line("Error (" + why + "): level " + words[1] + ' ' + words[2] + ' ' + words[3]);
}

// `time` and `otim`: one number, the remaining centiseconds of a side. The
// design of the protocol reads an empty number as none left; anything but
// digits is refused, since a clock read wrongly as empty would hand the
// engine the opponent's whole lead.
void clock_command(void (*set)(std::int64_t), const char* error_text) {
  split_rest();
  const std::string_view number = word_count == clock_words ? words[1] : std::string_view();
  const std::optional<std::int64_t> centis = number.empty() ? 0 : whole_number(number);
  if (word_count != clock_words || !centis) {
    output_line(error_text);
    return;
  }
  set(*centis);
}

}  // namespace

void level_command() {
  split_rest();
  if (word_count != level_words) {
    output_line("Error: level command format.");
    return;
  }
  const std::int64_t moves = leading_integer(words[1]);
  const std::optional<std::int64_t> base = base_ms(words[2]);
  // The increment may have a fraction: level 0 1 0.5.
  const std::int64_t increment = leading_seconds_ms(words[3]);
  if (!base || *base < 0 || moves < 0 || increment < 0) return refuse_level("bad time control");
  if (*base == 0 && increment == 0) return refuse_level("no time at all");
  engine_api::set_time_control(clamp_to_int32(moves), *base, increment);
}

void time_command() { clock_command(engine_api::set_own_time, "Error: Improper time format."); }

void otim_command() { clock_command(engine_api::set_opp_time, "Error: Improper otim format."); }

}  // namespace marlek
