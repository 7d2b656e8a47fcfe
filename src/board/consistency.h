#pragma once
// A check of the whole position against what is kept incrementally: board
// and piece lists agree, and material, bishop counts and the piece part of
// the key recomputed from scratch equal the running values. Used by tests
// and fuzzers after make/unmake, and by the engine itself in a build with
// MARLEK_CHECKS (a Debug build by default).
#include <string>

namespace marlek {

// Empty when the position is consistent, otherwise what is wrong.
std::string position_fault();

#ifdef MARLEK_CHECKS
inline constexpr bool position_checks = true;
#else
inline constexpr bool position_checks = false;
#endif

// Stops the engine on a faulty position: one line on standard output that
// names the fault and the step `after` which it was found, then abort.
void stop_on_position_fault(const char* after);

// Run after every make, unmake and set-up. Without MARLEK_CHECKS it compiles
// to nothing, so the search pays nothing for it.
inline void check_position(const char* after) {
  if constexpr (position_checks) stop_on_position_fault(after);
}

}  // namespace marlek
