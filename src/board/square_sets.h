#pragma once
// Sets of squares in one 64-bit word, bit 8 * rank + file, and the lines
// that run from each square in each of the eight directions.
//
// The position keeps, beside its 0x88 board of pieces, the set of squares
// each colour occupies (position.h). With them the first piece along a line
// is found by masking the line and taking its nearest bit, where the board
// is walked a square at a time; and a line between two squares is open
// when its mask meets no piece.
#include <bit>
#include <cstdint>

#include "board/move.h"

namespace marlek {

using square_set = std::uint64_t;

// 0x88 index 16 * rank + file <-> bit 8 * rank + file.
constexpr int bit_index(square s) { return (s + (s & 7)) >> 1; }
constexpr square square_of_bit(int bit) { return bit + (bit & ~7); }
constexpr square_set set_of(square s) { return square_set{1} << bit_index(s); }

// The squares from a square to the edge of the board in one direction,
// the square itself left out. A direction is a 0x88 step of a king.
class line_sets {
 public:
  constexpr line_sets() {
    for (int d = 0; d < 8; ++d) {
      if (index(steps[d]) != d) throw "step_index does not match steps";  // stops compilation
      for (square from = 0; from < 128; ++from) {
        if (!on_board(from)) continue;
        square_set line = 0;
        for (square s = from + steps[d]; on_board(s); s += steps[d]) line |= set_of(s);
        lines[d][bit_index(from)] = line;
      }
    }
  }
  // The line from `from` along `step` (one of the king's eight steps).
  constexpr square_set from(square s, int step) const { return lines[index(step)][bit_index(s)]; }
  // The squares strictly between a and b, which lie on one line with
  // `step` the unit step from a towards b.
  constexpr square_set between(square a, square b, int step) const {
    return from(a, step) & ~from(b, step) & ~set_of(b);
  }
  // The square of the first piece of `pieces` along the line from `s` in
  // direction `step`, or -1. Bits grow with 0x88 indices, so forward the
  // nearest piece is the lowest bit and backward the highest.
  constexpr square first_along(square s, int step, square_set pieces) const {
    const square_set met = from(s, step) & pieces;
    if (!met) return -1;
    return square_of_bit(step > 0 ? std::countr_zero(met) : 63 - std::countl_zero(met));
  }

 private:
  static constexpr int steps[8] = {1, -1, 16, -16, 15, -15, 17, -17};
  static constexpr int index(int step) { return step_index[step + 17]; }
  // For each step + 17, its place in `steps`.
  static constexpr std::int8_t step_index[35] = {
      7, 3, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0,  // -17 .. 0
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 2, 6};    // 1 .. 17
  square_set lines[8][64] = {};
};

inline constexpr line_sets lines_of;

// The squares a piece standing on a square reaches on an empty board, by
// its letter and the bit of that square: where its captures can land at
// most, and all it can attack.
class reach_sets {
 public:
  constexpr reach_sets() {
    const char letters[] = "PpNnBbRrQqKk";
    for (int i = 0; i < 12; ++i) index[static_cast<unsigned char>(letters[i])] = i / 2 + 1;
    index[static_cast<unsigned char>('p')] = 7;  // a black pawn reaches the other way
    for (square from = 0; from < 128; ++from) {
      if (!on_board(from)) continue;
      const int b = bit_index(from);
      table[1][b] = within(from + 15) | within(from + 17);
      table[7][b] = within(from - 15) | within(from - 17);
      for (int jump : {14, 18, 31, 33, -14, -18, -31, -33}) table[2][b] |= within(from + jump);
      for (int step : {15, 17, -15, -17}) table[3][b] |= lines_of.from(from, step);
      for (int step : {1, 16, -1, -16}) table[4][b] |= lines_of.from(from, step);
      table[5][b] = table[3][b] | table[4][b];
      for (int step : {1, 15, 16, 17, -1, -15, -16, -17}) table[6][b] |= within(from + step);
    }
  }
  constexpr square_set of(char letter, int b) const {
    return table[index[static_cast<unsigned char>(letter) & 127]][b];
  }

 private:
  static constexpr square_set within(square s) { return on_board(s) ? set_of(s) : 0; }
  // Rows: none, white pawn, knight, bishop, rook, queen, king, black pawn.
  square_set table[8][64] = {};
  std::uint8_t index[128] = {};
};

inline constexpr reach_sets reach_of;

}  // namespace marlek
