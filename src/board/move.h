#pragma once
// Squares, colours and the packed move.
//
// Squares are 0x88 indices: 16 * rank + file, rank 0 being White's first rank
// and file 0 the a-file. An index lies on the board exactly when
// (index & 0x88) == 0; the same test rejects the small negative numbers that
// a step below rank 0 produces.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace marlek {

using square = std::int32_t;
using colour = std::int32_t;

inline constexpr colour white = 0;
inline constexpr colour black = 1;

constexpr bool on_board(square s) { return (s & 0x88) == 0; }
constexpr square make_square(int file, int rank) { return 16 * rank + file; }
constexpr int file_of(square s) { return s & 7; }
constexpr int rank_of(square s) { return s >> 4; }

// Promotion kinds of a move; every other move (castling, en passant and
// double steps included) has kind 0.
inline constexpr std::int16_t no_promotion = 0;
inline constexpr std::int16_t promote_rook = 1;
inline constexpr std::int16_t promote_knight = 2;
inline constexpr std::int16_t promote_bishop = 3;
inline constexpr std::int16_t promote_queen = 4;
// Kind given to move text that cannot be a move: it matches no generated move.
inline constexpr std::int16_t unreadable_kind = -1;

// A move in 32 bits: kind, origin, destination. Moves compare as whole values.
struct move {
  std::int16_t kind = 0;
  std::uint8_t from = 0;
  std::uint8_t to = 0;

  using move_vector = std::vector<move>;

  constexpr move() = default;
  constexpr move(square f, square t, std::int16_t k = no_promotion)
      : kind(k), from(static_cast<std::uint8_t>(f)), to(static_cast<std::uint8_t>(t)) {}
  // Reads coordinate notation (e2e4, e7e8q, e7e8Q). Text that is not a move
  // on the board yields a move that matches no legal move; it never reads
  // past the end of the text.
  explicit move(const char* text);

  friend constexpr bool operator==(move a, move b) {
    return a.kind == b.kind && a.from == b.from && a.to == b.to;
  }
};
static_assert(sizeof(move) == 4);

// Whether `word` has the form of a move in coordinate notation: a square, a
// square, and an optional promotion letter (q, r, b, n, in either case, as
// GUIs write it). The one reader of move text: every protocol and the book
// take a word as a move by this test, and the move constructor reads what
// it accepts.
bool is_move_text(std::string_view word);

// Writes coordinate notation: four characters, plus the promotion letter.
std::ostream& operator<<(std::ostream& out, move m);
std::string to_text(move m);

}  // namespace marlek
