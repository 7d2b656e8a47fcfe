#pragma once
// The commands that limit the engine's search besides the chess clock:
// a fixed time per move, a depth and a node rate. Each reads its one
// argument and sets the engine's move limits (engine/move_limits.h).
namespace marlek {

// st SECONDS: each move takes at most that long (a fraction allowed);
// replaces the clock of `level` until the next `level`.
void st_command();
// sd PLIES, and `depth PLIES`, its older name: no search goes deeper.
void sd_command();
// nps NODES: nodes per second stand in for the clock, until `new`.
void nps_command();

}  // namespace marlek
