#pragma once
#include <cstdint>
namespace marlek {
inline constexpr std::int64_t least_hash_mb = 1, most_hash_mb = 4096, default_hash_mb = 24;
inline void resize_hash(std::int64_t) {}
inline void clear_hash_table() {}
}  // namespace marlek
