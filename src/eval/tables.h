#pragma once
// Constant data of the evaluation: piece-square tables, the doubled-pawn
// table and the squares around each king.
//
// The grids below are drawn as a board is: rank 8 in the first row, files a
// to h from left to right. The tables the evaluation reads are built from
// them at compile time in the 0x88 layout (16 * rank + file):
//   - colour-dependent tables (pawns, rook, queen): White's value for square
//     sq at [sq], Black's at [sq + 8], the off-board half of the same row;
//   - the king table: the middlegame value at [sq], the endgame value at
//     [sq + 8], for both colours;
//   - knight and bishop: 120 entries, the same for both colours.
// Black's values are White's turned upside down (same file, rank 9 - r),
// except on Black's own back rank for the rook.
#include <array>
#include <cstdint>

#include "board/move.h"

namespace marlek {

using board_grid = std::array<std::int32_t, 64>;
using colour_table = std::array<std::int32_t, 128>;
using shared_table = std::array<std::int32_t, 120>;

namespace tables {

constexpr int grid_index(int file, int rank) { return (7 - rank) * 8 + file; }

// The grid seen from the other side of the board.
constexpr board_grid rank_mirror(const board_grid& grid) {
  board_grid mirrored{};
  for (int rank = 0; rank < 8; ++rank)
    for (int file = 0; file < 8; ++file)
      mirrored[grid_index(file, rank)] = grid[grid_index(file, 7 - rank)];
  return mirrored;
}

// The grid with its rank-8 row replaced.
constexpr board_grid with_rank8(board_grid grid, const std::array<std::int32_t, 8>& row) {
  for (int file = 0; file < 8; ++file) grid[grid_index(file, 7)] = row[file];
  return grid;
}

// One 0x88 row holds `left` in files a-h and `right` in the off-board half.
constexpr colour_table pair_table(const board_grid& left, const board_grid& right) {
  colour_table table{};
  for (int rank = 0; rank < 8; ++rank)
    for (int file = 0; file < 8; ++file) {
      table[make_square(file, rank)] = left[grid_index(file, rank)];
      table[make_square(file, rank) + 8] = right[grid_index(file, rank)];
    }
  return table;
}

constexpr shared_table board_table(const board_grid& grid) {
  shared_table table{};
  for (int rank = 0; rank < 8; ++rank)
    for (int file = 0; file < 8; ++file)
      table[make_square(file, rank)] = grid[grid_index(file, rank)];
  return table;
}

// White's grids --------------------------------------------------------------
// The grids are drawn as boards, rank 8 on top: the formatter keeps out.
// clang-format off

// Centre pawns may advance; pawns in front of a short-castled king should
// stay home (the -99 on f3 to h7).
inline constexpr board_grid pawn_middlegame_grid = {
      0,   0,   0,   0,   0,   0,   0,   0,  // 8
    -55, -30,  -3,  16,  16, -99, -99, -99,  // 7
    -54, -29,  -2,  17,  17, -99, -99, -99,  // 6
    -53, -28,  -1,  18,  18, -99, -99, -99,  // 5
    -52, -27,  -1,  18,  18, -99, -99, -99,  // 4
    -51, -26,  -3,  14,  14, -99, -26, -75,  // 3
    -50, -25,  -5,  10,  10,  -5, -25, -50,  // 2
      0,   0,   0,   0,   0,   0,   0,   0,  // 1
};

inline constexpr board_grid pawn_endgame_grid = {
      0,   0,   0,   0,   0,   0,   0,   0,  // 8
    -35, -10,  10,  25,  25,  10, -10, -35,  // 7
    -36, -11,   9,  24,  24,   9, -11, -36,  // 6
    -38, -13,   7,  22,  22,   7, -13, -38,  // 5
    -41, -16,   4,  19,  19,   4, -16, -41,  // 4
    -45, -20,   0,  15,  15,   0, -20, -45,  // 3
    -50, -25,  -5,  10,  10,  -5, -25, -50,  // 2
      0,   0,   0,   0,   0,   0,   0,   0,  // 1
};

inline constexpr board_grid knight_grid = {
     -7,   0,   0,   0,   0,   0,   0,  -7,  // 8
      0,   3,   3,   3,   6,   3,   3,   0,  // 7
      0,   3,   6,   5,   5,   7,   3,   0,  // 6
      0,  10,   7,  14,  14,   7,  10,   0,  // 5
      0,  10,   7,  14,  14,   7,  10,   0,  // 4
      0,   3,   6,   5,   5,   7,   3,   0,  // 3
      0,   3,   3,   3,   6,   3,   3,   0,  // 2
     -7,   0,   0,   0,   0,   0,   0,  -7,  // 1
};

inline constexpr board_grid bishop_grid = {
     -6,  -6,   0,  -6,  -6,   0,  -6,  -6,  // 8
     -6,   4,  -6,  -6,   6,  -6,   5,  -6,  // 7
     -6,  -6,  -6,   6,   4,  -6,  -6,  -6,  // 6
     -6,   6,   6,  -6,  -6,   4,   4,  -6,  // 5
     -6,   6,   6,  -6,  -6,   4,   4,  -6,  // 4
     -6,  -6,  -6,   6,   4,  -6,  -6,  -6,  // 3
     -6,   4,  -6,  -6,   6,  -6,   5,  -6,  // 2
     -6,  -6,   0,  -6,  -6,   0,  -6,  -6,  // 1
};

inline constexpr board_grid rook_grid = {
     81,  88,  88,  88,  88,  88,  88,  81,  // 8
     61,  73,  73,  73,  73,  73,  73,  61,  // 7
      0,   0,   0,   2,   5,   2,   0,   0,  // 6
      0,   0,   0,   2,   5,   2,   0,   0,  // 5
      0,   0,   0,   2,   5,   2,   0,   0,  // 4
      0,   0,   0,   2,   5,   2,   0,   0,  // 3
      0,   0,   0,   2,   5,   2,   0,   0,  // 2
      0,   0,   0,   2,   5,   2,   0,   0,  // 1
};

// Black's own back rank is not the mirror of White's first rank: a black
// rook at home reads this row instead.
inline constexpr std::array<std::int32_t, 8> black_rook_home_row = {0, -1, -1, 3, 3, 3, -1, 0};

inline constexpr board_grid queen_grid = {
      7,   7,   7,   7,   7,   7,   7,   7,  // 8
      5,   5,   5,   5,   5,   5,   5,   5,  // 7
     -3,  -3,  -3,  -3,  -3,  -3,  -3,  -3,  // 6
     -3,  -3,  -3,  -3,  -3,  -3,  -3,   3,  // 5
      3,  -3,  -3,   3,  -3,  -3,   3,  -3,  // 4
     -3,   3,  -3,   3,  -3,   3,  -3,  -3,  // 3
     -3,  -3,   3,   3,   3,  -3,  -3,  -3,  // 2
     -3,  -3,  -3,   0,  -3,  -3,  -3,  -3,  // 1
};

// The castled squares pay for the castling rights given up: g1 earns 184
// against the 92 lost with both rights (net +92), c1 92 (net 0).
inline constexpr board_grid king_middlegame_grid = {
     92,  92,  92,  -1,   0,  -1, 184, 184,  // 8
     -1,  -1,  -1,  -1,  -1,  -1,  -1,  -1,  // 7
     -2,  -2,  -2,  -2,  -2,  -2,  -2,  -2,  // 6
     -3,  -3,  -3,  -3,  -3,  -3,  -3,  -3,  // 5
     -3,  -3,  -3,  -3,  -3,  -3,  -3,  -3,  // 4
     -2,  -2,  -2,  -2,  -2,  -2,  -2,  -2,  // 3
     -1,  -1,  -1,  -1,  -1,  -1,  -1,  -1,  // 2
     92,  92,  92,  -1,   0,  -1, 184, 184,  // 1
};

inline constexpr board_grid king_endgame_grid = {
     -2,  -1,  -1,  -1,  -1,  -1,  -1,  -2,  // 8
     -1,   0,   0,   0,   0,   0,   0,  -1,  // 7
     -1,   0,   1,   1,   1,   1,   0,  -1,  // 6
     -1,   0,   1,   2,   2,   1,   0,  -1,  // 5
     -1,   0,   1,   2,   2,   1,   0,  -1,  // 4
     -1,   0,   1,   1,   1,   1,   0,  -1,  // 3
     -1,   0,   0,   0,   0,   0,   0,  -1,  // 2
     -2,  -1,  -1,  -1,  -1,  -1,  -1,  -2,  // 1
};
// clang-format on

}  // namespace tables

// The tables the evaluation reads -------------------------------------------

inline constexpr colour_table pawn_middlegame_table = tables::pair_table(
    tables::pawn_middlegame_grid, tables::rank_mirror(tables::pawn_middlegame_grid));
inline constexpr colour_table pawn_endgame_table =
    tables::pair_table(tables::pawn_endgame_grid, tables::rank_mirror(tables::pawn_endgame_grid));
inline constexpr colour_table rook_table = tables::pair_table(
    tables::rook_grid,
    tables::with_rank8(tables::rank_mirror(tables::rook_grid), tables::black_rook_home_row));
inline constexpr colour_table queen_table =
    tables::pair_table(tables::queen_grid, tables::rank_mirror(tables::queen_grid));
inline constexpr colour_table king_table =
    tables::pair_table(tables::king_middlegame_grid, tables::king_endgame_grid);
inline constexpr shared_table knight_table = tables::board_table(tables::knight_grid);
inline constexpr shared_table bishop_table = tables::board_table(tables::bishop_grid);

// Offset of Black's entry in a colour table, and of the endgame half in the
// king table.
inline constexpr int second_half = 8;

// Doubled pawns, by the number of one side's pawns on one file; the term is
// ten times the entry. A file holds at most six pawns of one side, since
// set-up keeps pawns off the first and last ranks.
inline constexpr std::array<std::int32_t, 9> pawn_count_table = {0,   0,   1,   5,  23,
                                                                 119, 719, 799, 799};

// The squares one king step from each square, closed by -1.
struct neighbour_list {
  std::array<std::int8_t, 9> squares;
};

constexpr std::array<neighbour_list, 120> make_king_neighbours() {
  std::array<neighbour_list, 120> lists{};
  constexpr int steps[] = {-17, -16, -15, -1, 1, 15, 16, 17};
  for (square s = 0; s < 120; ++s) {
    int count = 0;
    if (on_board(s))
      for (int step : steps)
        if (on_board(s + step)) lists[s].squares[count++] = static_cast<std::int8_t>(s + step);
    lists[s].squares[count] = -1;
  }
  return lists;
}

inline constexpr std::array<neighbour_list, 120> king_neighbours = make_king_neighbours();

}  // namespace marlek
