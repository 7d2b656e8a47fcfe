#pragma once
// How a running search learns that it must stop. The search has no stop
// flag: it asks, after every move it has searched and after each search of
// an iteration, whether a message waits for the engine thread, and unwinds
// at once when one does. The engine installs the question on its thread,
// and a helper thread of the search its own; a thread without one searches
// to its depth limit (the bench and the tests run it so).
namespace marlek {

using stop_poll_fn = bool (*)();

// Installs the poll of the calling thread (nullptr removes it).
void set_stop_poll(stop_poll_fn poll);

// True when the search on this thread must stop: its poll's answer, false
// when it has none.
bool engine_has_message();

}  // namespace marlek
