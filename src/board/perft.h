#pragma once
// Counting the leaves of the legal move tree, with the engine's own
// generators, make/unmake and legality test: the check of all three.
#include <cstdint>

namespace marlek {

std::uint64_t perft(int depth);

}  // namespace marlek
