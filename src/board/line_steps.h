#pragma once
// Which line joins two squares of the 0x88 board, read from their
// difference alone.
#include <cstdint>

namespace marlek {

// On a 0x88 board the difference of two squares tells whether they share a
// file, rank or diagonal, and which unit step leads from the first to the
// second, wherever the two stand: no two lines of different direction give
// the same difference. Indexed by to - from + 119 (so that every difference
// is an index): the unit step, or 0 when the squares share no line.
struct line_step_table {
  std::int8_t step[239] = {};
  constexpr line_step_table() {
    for (int unit : {1, 15, 16, 17}) {
      for (int distance = 1; distance < 8; ++distance) {
        step[119 + unit * distance] = static_cast<std::int8_t>(unit);
        step[119 - unit * distance] = static_cast<std::int8_t>(-unit);
      }
    }
  }
};

inline constexpr line_step_table line_steps;

}  // namespace marlek
