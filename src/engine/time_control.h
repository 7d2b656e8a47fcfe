#pragma once
// The chess clock, in whole seconds. The GUI's `level`, `time` and `otim`
// (protocol/clock_commands.cpp) set the time control and the two remaining
// times on the main thread; the engine thread turns them into a time budget
// when it goes on move.
#include <atomic>
#include <cstdint>

namespace marlek {

// Moves per time control; 0 means the base time is for the whole game.
inline std::atomic<std::int32_t> moves_per_control{0};
// Seconds added per move, and the milliseconds of a fractional increment
// beyond them (`level 0 1 0.5`), which each move's deadline adds.
inline std::atomic<std::int32_t> time_increment{0};
inline std::atomic<std::int32_t> increment_fraction_ms{0};
// Each side's remaining seconds, as known at its stamp (clock seconds).
inline std::atomic<std::int32_t> own_time{0};
inline std::atomic<std::int32_t> own_stamp{0};
inline std::atomic<std::int32_t> opp_time{0};
inline std::atomic<std::int32_t> opp_stamp{0};

// Remaining seconds now: the last time received less what has gone since.
std::int32_t own_time_left();
std::int32_t opp_time_left();

// Seconds the engine may spend on its move at game ply `ply`: an even share
// of the remaining time over the moves still to go in the control, plus the
// increment; or, when more, the lead over the opponent less 5 seconds. Never
// more than the remaining time less one second, never below 0.
std::int32_t time_budget(std::int32_t ply);

// The same sharing rule in milliseconds, for a GUI that gives the clocks
// with every move: the engine's and the opponent's time left, the
// increment, and the moves to go in the control counting this one (0 when
// the time is for the rest of the game). Never more than the time left
// less `overhead_ms`, never below 0.
std::int64_t clock_share_ms(std::int64_t own_left_ms, std::int64_t opp_left_ms,
                            std::int64_t increment_ms, std::int32_t moves_to_go,
                            std::int64_t overhead_ms);

// The clock reading (clock_seconds) at which `budget` seconds from now have
// passed; the latest reading the clock can hold when that lies beyond it.
std::int32_t deadline_after(std::int32_t budget);

// A new time control: `moves` per control (0 for the whole game), `base`
// seconds on both clocks, `increment_ms` milliseconds added per move.
void set_time_control(std::int32_t moves, std::int64_t base_seconds, std::int64_t increment_ms);
// The remaining time of the engine / the opponent, in centiseconds.
void set_own_time(std::int32_t centis);
void set_opp_time(std::int32_t centis);

}  // namespace marlek
