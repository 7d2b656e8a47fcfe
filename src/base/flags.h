#pragma once
// Flags that the main thread writes (protocol commands) and the engine thread
// reads while it thinks. A change takes effect at the next read; relaxed
// atomics are all the ordering this needs.
#include <atomic>

namespace marlek {

inline std::atomic<bool> post_thinking{true};    // `post` / `nopost`
inline std::atomic<bool> ponder_enabled{false};  // `hard` / `easy`
inline std::atomic<bool> use_book{true};         // `new` sets it, `setboard` clears it
// The player's choice of whether the engine plays from its book at all;
// use_book above is the game's own state of it.
inline std::atomic<bool> own_book{true};

}  // namespace marlek
