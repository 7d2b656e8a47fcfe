#pragma once
// The opening book in memory.
//
// The book holds positions, not moves: a move is a book move when the
// position it leads to is stored here, whatever move order the book file
// used to reach it. The table is 1024 slots, each one 64-bit position key
// kept as two 32-bit words; a slot whose words are both zero is empty.
//
// A lookup always starts from the current position: its home slot is the
// low ten bits of the low word of the current key, and from there eleven
// slots are visited, each step one longer than the last, squared (0, 1, 4,
// 9, ... 100), so the offsets from home are 0, 1, 5, 14, 30, 55, 91, 140,
// 204, 285 and 385, taken modulo 1024. Quadratic steps spread a crowded
// neighbourhood faster than a linear walk, and eleven probes keep a miss
// cheap. The loader inserts by looking up the empty key and taking the
// first empty slot of that sequence; it does not look for the position
// first, so a position that the file reaches twice takes two slots.
#include <cstdint>

#include "board/keys.h"

namespace marlek {

class opening_book {
 public:
  static constexpr std::uint32_t slot_count = 1024;
  static constexpr std::uint32_t slot_mask = slot_count - 1;
  static constexpr int probe_count = 11;

  static const hash_key& slot(int index) { return slots[index]; }
  static void store(int index, const hash_key& key) { slots[index] = key; }
  // Number of occupied slots: every position stored, repeats included.
  static int stored_positions();

 private:
  static inline hash_key slots[slot_count] = {};
  friend void clear_book();
};

inline constexpr int no_book_slot = -1;

// The first slot of the current position's probe sequence that holds `key`,
// or no_book_slot when none of the eleven does. With the zero key it finds
// an empty slot for an insertion.
int find_book_slot(const hash_key& key);

// Whether the current position is a book position.
bool in_book();

// Empties the table. The engine loads its book once; tests load several.
void clear_book();

}  // namespace marlek
