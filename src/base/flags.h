#pragma once
// Flags that the main thread writes (protocol commands) and the engine thread
// reads while it thinks. A change takes effect at the next read; relaxed
// atomics are all the ordering this needs.
#include <atomic>

namespace marlek {

inline std::atomic<bool> post_thinking{true};    // `post` / `nopost`
inline std::atomic<bool> ponder_enabled{false};  // `hard` / `easy`
inline std::atomic<bool> use_book{true};         // `new` sets it, `setboard` clears it

}  // namespace marlek
