#include "engine/time_control.h"

#include <algorithm>
#include <limits>

#include "base/clock.h"

namespace marlek {

namespace {

// Moves assumed to remain when the base time is for the whole game.
constexpr std::int64_t sudden_death_moves = 30;
// The lead over the opponent that the engine keeps in reserve.
constexpr std::int64_t lead_reserve = 5;
// Kept back from the remaining time so a budget never runs the clock out.
constexpr std::int64_t clock_reserve = 1;
constexpr std::int64_t millis_per_second = 1000;

constexpr std::int32_t centis_per_second = 100;

std::int32_t clamp_to_int32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t time_left(std::int32_t remaining, std::int32_t stamp) {
  return clamp_to_int32(std::int64_t{remaining} + stamp - clock_seconds());
}

void set_clock(std::atomic<std::int32_t>& remaining, std::atomic<std::int32_t>& stamp,
               std::int32_t centis) {
  remaining.store(centis / centis_per_second, std::memory_order_relaxed);
  stamp.store(clock_seconds(), std::memory_order_relaxed);
}

// The sharing rule, in any one unit of time: an even share of the time left
// over the moves to go, plus the increment; or the lead over the opponent
// less `lead`, when that is more; never more than the time left less
// `reserve`, never below 0.
std::int64_t share_rule(std::int64_t own_left, std::int64_t opp_left, std::int64_t increment,
                        std::int64_t moves_to_go, std::int64_t lead, std::int64_t reserve) {
  std::int64_t budget = own_left / moves_to_go + increment;
  std::int64_t surplus = own_left - opp_left - lead;
  if (budget <= surplus) budget = surplus;
  budget = std::min(budget, own_left - reserve);
  return std::max<std::int64_t>(budget, 0);
}

}  // namespace

std::int32_t own_time_left() {
  return time_left(own_time.load(std::memory_order_relaxed),
                   own_stamp.load(std::memory_order_relaxed));
}

std::int32_t opp_time_left() {
  return time_left(opp_time.load(std::memory_order_relaxed),
                   opp_stamp.load(std::memory_order_relaxed));
}

std::int32_t time_budget(std::int32_t ply) {
  std::int64_t per_control = moves_per_control.load(std::memory_order_relaxed);
  std::int64_t moves_to_go =
      per_control > 0 ? per_control - (ply / 2) % per_control + 1 : sudden_death_moves;
  return clamp_to_int32(share_rule(own_time_left(), opp_time_left(),
                                   time_increment.load(std::memory_order_relaxed), moves_to_go,
                                   lead_reserve, clock_reserve));
}

std::int64_t clock_share_ms(std::int64_t own_left_ms, std::int64_t opp_left_ms,
                            std::int64_t increment_ms, std::int32_t moves_to_go,
                            std::int64_t overhead_ms) {
  const std::int64_t share_of =
      moves_to_go > 0 ? std::int64_t{moves_to_go} + 1 : sudden_death_moves;
  return share_rule(own_left_ms, opp_left_ms, increment_ms, share_of,
                    lead_reserve * millis_per_second, overhead_ms);
}

std::int32_t deadline_after(std::int32_t budget) {
  return clamp_to_int32(std::int64_t{clock_seconds()} + budget);
}

void set_time_control(std::int32_t moves, std::int64_t base_seconds, std::int64_t increment_ms) {
  std::int32_t base = clamp_to_int32(base_seconds);
  std::int32_t now = clock_seconds();
  moves_per_control.store(moves, std::memory_order_relaxed);
  time_increment.store(clamp_to_int32(increment_ms / millis_per_second), std::memory_order_relaxed);
  increment_fraction_ms.store(static_cast<std::int32_t>(increment_ms % millis_per_second),
                              std::memory_order_relaxed);
  own_time.store(base, std::memory_order_relaxed);
  opp_time.store(base, std::memory_order_relaxed);
  own_stamp.store(now, std::memory_order_relaxed);
  opp_stamp.store(now, std::memory_order_relaxed);
}

void set_own_time(std::int32_t centis) { set_clock(own_time, own_stamp, centis); }

void set_opp_time(std::int32_t centis) { set_clock(opp_time, opp_stamp, centis); }

}  // namespace marlek
