#pragma once
// How a running search learns that it must stop. The search has no stop
// flag: it asks, after every move it has searched and after each search of
// an iteration, whether a message waits for the engine thread, and unwinds
// at once when one does. The engine installs the question; without one the
// search runs to its depth limit (the bench and the tests run it so).
namespace marlek {

using stop_poll_fn = bool (*)();

// Installs the poll (nullptr removes it). Any thread may call this.
void set_stop_poll(stop_poll_fn poll);

// True when a message waits for the engine thread: the installed poll's
// answer, false when none is installed.
bool engine_has_message();

}  // namespace marlek
