#pragma once
// The engine's clock counts whole seconds. It reads a monotonic clock, so a
// change of the wall clock (daylight saving, a time sync) never gives the
// engine an hour too much or too little.
#include <cstdint>

namespace marlek {

// Seconds since an arbitrary fixed point, whole seconds only.
std::int32_t clock_seconds();

// The stopwatch behind the time column of the thinking line.
void start_watch();
// Centiseconds since the last start_watch(); always a multiple of 100.
std::int32_t elapsed_centis();

}  // namespace marlek
