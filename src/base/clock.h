#pragma once
// The engine's clocks. All read the monotonic clock, so a change of the
// wall clock (daylight saving, a time sync) never gives the engine an hour
// too much or too little. The chess clock and the thinking lines count
// milliseconds; the timer's own stamp of its last check counts seconds.
#include <cstdint>

namespace marlek {

// Seconds since an arbitrary fixed point, whole seconds only.
std::int32_t clock_seconds();
// Milliseconds since the same point: clock_seconds() is always this / 1000.
std::int64_t clock_millis();

// The stopwatch behind the time column of the thinking line.
void start_watch();
// Milliseconds since the last start_watch().
std::int64_t elapsed_millis();

}  // namespace marlek
