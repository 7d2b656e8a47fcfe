// The castlings of a new game.
#include "board/castling.h"

namespace marlek {

namespace {

constexpr int king_file_king_side = 6, rook_file_king_side = 5;    // g, f
constexpr int king_file_queen_side = 2, rook_file_queen_side = 3;  // c, d

// The Chess960 castling of `right` with the king on `king` and its rook on
// `rook`; without a rook, a castling that no move names.
castling chess960_castling(int right, square king, square rook) {
  if (king == no_square || rook == no_square)
    return make_castling(right, king, no_square, no_square, no_square, no_square);
  const bool king_side = right % 2 == 0;
  const int rank = rank_of(king);
  const square king_to = make_square(king_side ? king_file_king_side : king_file_queen_side, rank);
  const square rook_to = make_square(king_side ? rook_file_king_side : rook_file_queen_side, rank);
  return make_castling(right, king, king_to, rook, rook_to, rook);
}

}  // namespace

const castling* castling_by_king(square from, square to) {
  for (const castling& c : castlings)
    if (c.king_from == from && c.move_to == to) return &c;
  return nullptr;
}

int castling_side_at(square s) {
  for (const castling& c : castlings)
    if (c.king_from == s) return c.colour;
  return -1;
}

int rook_right(square s, int c) {
  for (const castling& k : castlings)
    if (k.rook_from == s && k.colour == c) return k.right;
  return -1;
}

void set_up_castlings(bool chess960, const square king_square[2], const square rook_square[4]) {
  chess960_game = chess960;
  for (int right = 0; right < 4; ++right) {
    if (!chess960) {
      castlings[right] = standard_castlings[right];
      continue;
    }
    // A side without any right keeps no castling square for its king.
    const int side = right / 2;
    const bool any_right =
        rook_square[2 * side] != no_square || rook_square[2 * side + 1] != no_square;
    castlings[right] =
        chess960_castling(right, any_right ? king_square[side] : no_square, rook_square[right]);
  }
}

}  // namespace marlek
