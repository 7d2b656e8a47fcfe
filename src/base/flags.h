#pragma once
// Flags that the main thread writes (protocol commands) and the engine thread
// reads while it thinks. A change takes effect at the next read; relaxed
// atomics are all the ordering this needs.
#include <atomic>

namespace marlek {

inline std::atomic<bool> post_thinking{true};    // `post` / `nopost`
inline std::atomic<bool> ponder_enabled{false};  // `hard` / `easy`
inline std::atomic<bool> use_book{true};         // `new` sets it, `setboard` clears it

// Depth in plies to which the engine searches its own moves. It adapts: one
// more after a search that finished in time, one less after the alarm.
// Engine thread only.
inline constexpr int max_depth = 15;
inline int depth_limit = max_depth;

}  // namespace marlek
