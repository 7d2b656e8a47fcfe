// Snapshots of the global position for the repetition rule.
#include "board/repetition.h"

#include "board/position.h"

namespace marlek {

namespace {

// The pawn that has just stepped twice, if a pawn of the side to move stands
// next to it on its rank; whether the capture would also be legal (a pin, a
// check) does not matter here.
square en_passant_pawn() {
  square stepped;
  if (!position::en_passant_open(stepped)) return position_snapshot::none;
  const char own_pawn = position::side_to_move == white ? 'P' : 'p';
  for (const square beside : {stepped - 1, stepped + 1}) {
    const apiece* piece = on_board(beside) ? position::board[beside] : nullptr;
    if (piece && piece->letter == own_pawn) return stepped;
  }
  return position_snapshot::none;
}

}  // namespace

position_snapshot snapshot_of_position() {
  position_snapshot snapshot;
  for (int rank = 0; rank < 8; ++rank) {
    for (int file = 0; file < 8; ++file) {
      const apiece* piece = position::board[make_square(file, rank)];
      snapshot.placement[8 * rank + file] = piece ? piece->letter : '.';
    }
  }
  snapshot.side = position::side_to_move;
  for (int right = 0; right < 4; ++right)
    snapshot.rights[right] = position::castling_rights[right] != 0;
  snapshot.en_passant_pawn = en_passant_pawn();
  return snapshot;
}

}  // namespace marlek
