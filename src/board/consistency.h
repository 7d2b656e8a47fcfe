#pragma once
// A check of the whole position against what is kept incrementally: board
// and piece lists agree, and material, bishop counts and the piece part of
// the key recomputed from scratch equal the running values. Used by tests
// and fuzzers after make/unmake.
#include <string>

namespace marlek {

// Empty when the position is consistent, otherwise what is wrong.
std::string position_fault();

}  // namespace marlek
