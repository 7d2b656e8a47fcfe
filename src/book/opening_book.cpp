#include "book/opening_book.h"

#include "board/position.h"

namespace marlek {

int opening_book::stored_positions() {
  int count = 0;
  for (const hash_key& key : slots)
    if (!key.is_zero()) ++count;
  return count;
}

int find_book_slot(const hash_key& key) {
  std::uint32_t index = position::position_key.low & opening_book::slot_mask;
  for (std::uint32_t step = 0; step < opening_book::probe_count; ++step) {
    index = (index + step * step) & opening_book::slot_mask;
    if (opening_book::slot(static_cast<int>(index)) == key) return static_cast<int>(index);
  }
  return no_book_slot;
}

bool in_book() { return find_book_slot(position::position_key) != no_book_slot; }

void clear_book() {
  for (hash_key& key : opening_book::slots) key = hash_key{};
}

}  // namespace marlek
