#pragma once
// The chess clock, in milliseconds, and the time budget of a move.
//
// Two kinds of GUI give the engine its clock. An xboard GUI sets the time
// control with `level` and the two remaining times with `time` and `otim`
// before each move (xboard/clock_commands.cpp writes them here, on the main
// thread); a UCI GUI sends both clocks with every `go`. Either way the
// engine thread turns a clock_reading into a budget with the same sharing
// rule when it goes on move.
//
// A GUI that sends no `time` at all (some set only a level, some not even
// that) still gets moves that are thought about: until a `time` arrives
// after the last `level` or `new`, the engine keeps its own clock from the
// level. It starts at the base, gains the increment with each move the
// engine makes (credited as the move starts, so that a level without base
// time still gives time to think), and loses what the engine spends. With
// no `level` at all the level is 40 moves in 5 minutes, xboard's own
// default.
#include <atomic>
#include <cstdint>

namespace marlek {

// What the budget of one move is made of, in milliseconds.
struct clock_reading {
  std::int64_t own_left = 0;
  std::int64_t opp_left = 0;
  std::int64_t increment = 0;
  // Moves to go in the control, this one counted; 0: the time is for the
  // rest of the game.
  std::int64_t moves_to_go = 0;
};

// The milliseconds the engine may spend on its move: an even share of the
// time left over the moves to go (30 when the time is for the whole game),
// plus the increment; or, when more, the lead over the opponent less 5
// seconds. Never more than the time left less `overhead_ms` (the GUI's and
// the pipes' lag) and a safety margin, never below 0.
std::int64_t time_budget_ms(const clock_reading& clock, std::int64_t overhead_ms);

// The usable part of a fixed time per move of `move_time_ms` (st, UCI
// movetime): the time less the overhead and a margin for the way to the
// GUI, but never less than half of it.
std::int64_t fixed_time_usable_ms(std::int64_t move_time_ms, std::int64_t overhead_ms);

// The xboard clock ---------------------------------------------------------

// `level MPS BASE INC`: moves per control (0 for the whole game), the base
// time and the increment. Both clocks start again at the base, and the
// engine keeps its own clock until the next `time`. `new` does the same
// with the last level.
void set_time_control(std::int32_t moves, std::int64_t base_ms, std::int64_t increment_ms);
void restart_clocks();
// `time` and `otim`: the remaining time of the engine / the opponent, in
// centiseconds, as of now. A negative time counts as none left.
void set_own_time(std::int64_t centis);
void set_opp_time(std::int64_t centis);

// The clock as it reads when the engine goes on move at game ply `ply`.
clock_reading xboard_clock_reading(std::int32_t ply);
// The engine's own remaining time now, in milliseconds.
std::int64_t own_time_left_ms();

// When the engine keeps its own clock: the engine's move starts now, and
// the move it started has been made.
void own_move_started();
void own_move_made();

// The xboard clock as it stands, for tests and diagnostics.
struct xboard_clock_state {
  std::int32_t moves_per_control = 0;
  std::int64_t base_ms = 0, increment_ms = 0;
  std::int64_t own_ms = 0, own_stamp = 0, opp_ms = 0, opp_stamp = 0;
  bool gui_keeps_time = false;
  bool operator==(const xboard_clock_state&) const = default;
};
xboard_clock_state xboard_clock_now();

}  // namespace marlek
