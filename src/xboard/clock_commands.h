#pragma once
// The clock commands: the main thread reads them from the current command
// line and sets the engine's clock (engine/time_control.h) directly.
namespace marlek {

// level MPS BASE INC: BASE in minutes or minutes:seconds, INC in seconds
// with a fraction allowed. Replaces a fixed time per move (st).
void level_command();
// time N / otim N: remaining centiseconds of the engine / the opponent.
void time_command();
void otim_command();

}  // namespace marlek
