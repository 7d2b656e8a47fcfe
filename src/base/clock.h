#pragma once
// The engine's clocks. Both read the monotonic clock, so a change of the
// wall clock (daylight saving, a time sync) never gives the engine an hour
// too much or too little. The chess clock of a time control counts whole
// seconds; a fixed time per move needs milliseconds, so the same clock is
// also read in those.
#include <cstdint>

namespace marlek {

// Seconds since an arbitrary fixed point, whole seconds only.
std::int32_t clock_seconds();
// Milliseconds since the same point: clock_seconds() is always this / 1000.
std::int64_t clock_millis();

// The stopwatch behind the time column of the thinking line.
void start_watch();
// Centiseconds since the last start_watch(), as the whole-second clock
// counts them; always a multiple of 100.
std::int32_t elapsed_centis();
// Milliseconds since the last start_watch().
std::int64_t elapsed_millis();

}  // namespace marlek
