#pragma once
// The longest command line the engine reads whole. The protocol itself keeps
// lines short, but a `setboard` with a long FEN must never be cut, so the
// limit is generous; a longer line is refused as a whole.
#include <cstddef>

namespace marlek {

inline constexpr std::size_t max_line_length = 1023;

}  // namespace marlek
