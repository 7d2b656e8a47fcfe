#pragma once
// What makes two positions of a game the same for the repetition rule: the
// same pieces on the same squares, the same side to move, the same castling
// rights, and the same en-passant capture. The position key cannot decide
// this: its castling part records the events that took the rights, not the
// rights, and en passant does not enter it at all.
#include <array>
#include <cstdint>

#include "board/move.h"

namespace marlek {

struct position_snapshot {
  // Sentinel for `en_passant_pawn`: no en-passant capture is on.
  static constexpr square none = -1;

  std::array<char, 64> placement{};  // piece letters by 8 * rank + file; '.' when empty
  std::int32_t side = white;
  std::array<bool, 4> rights{};  // K, Q, k, q
  // The pawn that has just made a double step, when a pawn of the side to
  // move stands beside it; otherwise `none`.
  square en_passant_pawn = none;

  friend bool operator==(const position_snapshot&, const position_snapshot&) = default;
};

// The global position as the repetition rule sees it.
position_snapshot snapshot_of_position();

}  // namespace marlek
