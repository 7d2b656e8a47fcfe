#include "engine/time_control.h"

#include <algorithm>

#include "base/clock.h"
#include "base/numbers.h"

namespace marlek {

namespace {

// Moves assumed to remain when the base time is for the whole game.
constexpr std::int64_t sudden_death_moves = 30;
// The lead over the opponent that the engine keeps in reserve.
constexpr std::int64_t lead_reserve_ms = 5000;
// The GUI reads its clock when it has read the move: the move line, the
// pipe and a busy machine cost a few milliseconds, and a long move costs a
// little more, since the search unwinds from deeper.
constexpr std::int64_t margin_ms = 50;
constexpr std::int64_t margin_per_mille = 30;
constexpr std::int64_t largest_margin_ms = 500;
// xboard's own default level, for a GUI that never sends one.
constexpr std::int32_t default_moves = 40;
constexpr std::int64_t default_base_ms = 5 * 60 * 1000;
constexpr std::int64_t millis_per_centi = 10;

std::int64_t margin_for(std::int64_t ms) {
  return std::min(margin_ms + std::max<std::int64_t>(ms, 0) * margin_per_mille / 1000,
                  largest_margin_ms);
}

// The xboard clock. The main thread writes it from the GUI's commands; the
// engine thread reads it, and keeps the engine's own side while no `time`
// comes. Single words each, so a change takes effect at the next read.
struct xboard_clock {
  std::atomic<std::int32_t> moves_per_control{default_moves};
  std::atomic<std::int64_t> base_ms{default_base_ms};
  std::atomic<std::int64_t> increment_ms{0};
  // Each side's remaining time as of its stamp (clock_millis).
  std::atomic<std::int64_t> own_ms{default_base_ms};
  std::atomic<std::int64_t> own_stamp{0};
  std::atomic<std::int64_t> opp_ms{default_base_ms};
  std::atomic<std::int64_t> opp_stamp{0};
  // A `time` came since the last `level` or `new`: the GUI keeps the clock.
  std::atomic<bool> gui_keeps_time{false};
  // While the engine keeps its own clock: whether it runs (the engine is on
  // move), and the moves the engine made in this control.
  std::atomic<bool> own_running{false};
  std::atomic<std::int64_t> own_moves{0};
};

xboard_clock clock;

std::int64_t left_at(std::int64_t remaining, std::int64_t stamp) {
  return remaining + stamp - clock_millis();
}

}  // namespace

std::int64_t time_budget_ms(const clock_reading& reading, std::int64_t overhead_ms) {
  const std::int64_t own = std::clamp(reading.own_left, std::int64_t{0}, number_limit);
  const std::int64_t opp = std::clamp(reading.opp_left, std::int64_t{0}, number_limit);
  const std::int64_t moves = reading.moves_to_go > 0 ? reading.moves_to_go : sudden_death_moves;
  std::int64_t budget = own / moves + std::clamp(reading.increment, std::int64_t{0}, number_limit);
  const std::int64_t surplus = own - opp - lead_reserve_ms;
  if (budget <= surplus) budget = surplus;
  budget = std::min(budget, own - std::max<std::int64_t>(overhead_ms, 0) - margin_for(own));
  return std::max<std::int64_t>(budget, 0);
}

std::int64_t fixed_time_usable_ms(std::int64_t move_time_ms, std::int64_t overhead_ms) {
  const std::int64_t time = std::max<std::int64_t>(move_time_ms - overhead_ms, 1);
  return std::max(time - margin_for(time), time / 2);
}

void set_time_control(std::int32_t moves, std::int64_t base_ms, std::int64_t increment_ms) {
  clock.moves_per_control.store(moves, std::memory_order_relaxed);
  clock.base_ms.store(std::clamp(base_ms, std::int64_t{0}, number_limit),
                      std::memory_order_relaxed);
  clock.increment_ms.store(std::clamp(increment_ms, std::int64_t{0}, number_limit),
                           std::memory_order_relaxed);
  restart_clocks();
}

void restart_clocks() {
  const std::int64_t base = clock.base_ms.load(std::memory_order_relaxed);
  const std::int64_t now = clock_millis();
  clock.gui_keeps_time.store(false, std::memory_order_relaxed);
  clock.own_running.store(false, std::memory_order_relaxed);
  clock.own_moves.store(0, std::memory_order_relaxed);
  clock.own_ms.store(base, std::memory_order_relaxed);
  clock.own_stamp.store(now, std::memory_order_relaxed);
  clock.opp_ms.store(base, std::memory_order_relaxed);
  clock.opp_stamp.store(now, std::memory_order_relaxed);
}

void set_own_time(std::int64_t centis) {
  const std::int64_t ms = std::clamp(centis, std::int64_t{0}, number_limit / 10) * millis_per_centi;
  clock.own_ms.store(ms, std::memory_order_relaxed);
  clock.own_stamp.store(clock_millis(), std::memory_order_relaxed);
  clock.gui_keeps_time.store(true, std::memory_order_relaxed);
}

void set_opp_time(std::int64_t centis) {
  const std::int64_t ms = std::clamp(centis, std::int64_t{0}, number_limit / 10) * millis_per_centi;
  clock.opp_ms.store(ms, std::memory_order_relaxed);
  clock.opp_stamp.store(clock_millis(), std::memory_order_relaxed);
}

std::int64_t own_time_left_ms() {
  const std::int64_t remaining = clock.own_ms.load(std::memory_order_relaxed);
  const bool runs = clock.gui_keeps_time.load(std::memory_order_relaxed) ||
                    clock.own_running.load(std::memory_order_relaxed);
  return runs ? left_at(remaining, clock.own_stamp.load(std::memory_order_relaxed)) : remaining;
}

clock_reading xboard_clock_reading(std::int32_t ply) {
  clock_reading reading;
  const std::int64_t per_control = clock.moves_per_control.load(std::memory_order_relaxed);
  reading.moves_to_go = per_control > 0 ? per_control - (ply / 2) % per_control + 1 : 0;
  reading.own_left = own_time_left_ms();
  // The opponent's clock means something only when the GUI sends it; the
  // engine's own clock leaves the lead rule out.
  reading.opp_left = clock.gui_keeps_time.load(std::memory_order_relaxed)
                         ? left_at(clock.opp_ms.load(std::memory_order_relaxed),
                                   clock.opp_stamp.load(std::memory_order_relaxed))
                         : reading.own_left;
  reading.increment = clock.increment_ms.load(std::memory_order_relaxed);
  return reading;
}

void own_move_started() {
  if (clock.gui_keeps_time.load(std::memory_order_relaxed)) return;
  clock.own_ms.fetch_add(clock.increment_ms.load(std::memory_order_relaxed),
                         std::memory_order_relaxed);
  clock.own_stamp.store(clock_millis(), std::memory_order_relaxed);
  clock.own_running.store(true, std::memory_order_relaxed);
}

void own_move_made() {
  if (clock.gui_keeps_time.load(std::memory_order_relaxed) ||
      !clock.own_running.load(std::memory_order_relaxed))
    return;
  std::int64_t left = std::max<std::int64_t>(own_time_left_ms(), 0);
  const std::int64_t per_control = clock.moves_per_control.load(std::memory_order_relaxed);
  const std::int64_t made = clock.own_moves.fetch_add(1, std::memory_order_relaxed) + 1;
  // A control played through brings the base time again.
  if (per_control > 0 && made % per_control == 0)
    left += clock.base_ms.load(std::memory_order_relaxed);
  clock.own_ms.store(left, std::memory_order_relaxed);
  clock.own_running.store(false, std::memory_order_relaxed);
}

xboard_clock_state xboard_clock_now() {
  const auto get = [](const auto& word) { return word.load(std::memory_order_relaxed); };
  return {get(clock.moves_per_control), get(clock.base_ms),
          get(clock.increment_ms),      get(clock.own_ms),
          get(clock.own_stamp),         get(clock.opp_ms),
          get(clock.opp_stamp),         get(clock.gui_keeps_time)};
}

}  // namespace marlek
