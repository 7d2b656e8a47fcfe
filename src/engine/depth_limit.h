#pragma once
// Depth in plies to which the engine searches its own moves. It adapts: one
// more after a search that finished in time, one less after the alarm.
// Engine thread only.
namespace marlek {

inline constexpr int max_depth = 15;
inline int depth_limit = max_depth;

}  // namespace marlek
